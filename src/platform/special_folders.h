#pragma once

#include <QByteArray>

namespace quillet {

// Where launchers live: 0 is the desktop, 9 the folder whose launchers a file manager offers
// for folders. Paths come without a trailing "/"; the empty text when unknown.
class SpecialFolders {
  public:
    virtual ~SpecialFolders() = default;
    virtual QByteArray path(int folderId) = 0;
};

}  // namespace quillet
