#pragma once

#include "platform/special_folders.h"

namespace quillet {

// 0: the desktop; 9: the folder of launchers that file managers offer for folders.
class XdgSpecialFolders : public SpecialFolders {
  public:
    QByteArray path(int folderId) override;
};

}  // namespace quillet
