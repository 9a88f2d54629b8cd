#pragma once

#include <QString>

namespace quillet {

// A modal dialog in which the user picks a folder.
class FolderPicker {
  public:
    virtual ~FolderPicker() = default;
    // The chosen folder's path, or the empty text when the user cancelled.
    virtual QString pickFolder(const QString& title, const QString& initialFolder) = 0;
};

}  // namespace quillet
