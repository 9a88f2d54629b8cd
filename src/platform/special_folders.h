#pragma once

#include <QByteArray>
#include <vector>

namespace quillet {

// The forms in which file managers take a program to offer for a selected folder.
enum class LauncherForm {
    ThunarSendTo,        // a desktop entry in Thunar's Send To folder
    DolphinServiceMenu,  // a KDE service menu, executable
    NautilusScript,      // an executable script in the Scripts menu
    CajaScript,
    NemoAction,
};

struct LauncherPlace {
    QByteArray folder;
    LauncherForm form;
};

// Where launchers live: 0 is the desktop, 9 the Send To folder (Thunar's). Paths come without
// a trailing "/"; the empty text when unknown.
class SpecialFolders {
  public:
    virtual ~SpecialFolders() = default;
    virtual QByteArray path(int folderId) = 0;
    // Every folder from which a file manager offers a program for a selected folder.
    virtual std::vector<LauncherPlace> sendToPlaces() { return {}; }
    // Creates the folder and any missing parent with the user's default permissions.
    virtual bool makeFolder(const QByteArray&) { return false; }
    // Tells the desktop that the user trusts this launcher, so a double click starts it.
    virtual void markTrusted(const QByteArray&) {}
    // The path of the Send To launcher that earlier versions wrote among the applications, which
    // claimed folders; empty when there is none or the file there is not that launcher.
    virtual QByteArray earlierSendToLauncher() { return {}; }
};

}  // namespace quillet
