#include "platform/linux/xdg_special_folders.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace quillet {

namespace {

constexpr int Desktop = 0;
constexpr int SendTo = 9;

}  // namespace

QByteArray XdgSpecialFolders::path(int folderId) {
    QString folder;
    if (folderId == Desktop) {
        folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    } else if (folderId == SendTo) {
        folder = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    }
    // A configured folder may come with a trailing or doubled "/"; launchers are written to
    // the folder plus "/" plus a name.
    return folder.isEmpty() ? QByteArray() : QFile::encodeName(QDir::cleanPath(folder));
}

}  // namespace quillet
