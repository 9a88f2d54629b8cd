#pragma once

#include "platform/special_folders.h"

namespace quillet {

// The XDG user folders, and the file managers' own folders under the user's data and
// configuration homes.
class XdgSpecialFolders : public SpecialFolders {
  public:
    QByteArray path(int folderId) override;
    std::vector<LauncherPlace> sendToPlaces() override;
    bool makeFolder(const QByteArray& folder) override;
    void markTrusted(const QByteArray& launcher) override;
    QByteArray earlierSendToLauncher() override;
};

}  // namespace quillet
