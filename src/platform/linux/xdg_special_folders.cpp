#include "platform/linux/xdg_special_folders.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace quillet {

namespace {

constexpr int Desktop = 0;
constexpr int SendTo = 9;

// A configured folder may come with a trailing or doubled "/"; launchers are written to the
// folder plus "/" plus a name.
QByteArray Cleaned(const QString& folder) {
    return folder.isEmpty() ? QByteArray() : QFile::encodeName(QDir::cleanPath(folder));
}

QByteArray DataHome() {
    return Cleaned(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

QByteArray ConfigHome() {
    return Cleaned(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

}  // namespace

QByteArray XdgSpecialFolders::path(int folderId) {
    if (folderId == Desktop) {
        return Cleaned(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    }
    if (folderId == SendTo) {
        const QByteArray data = DataHome();
        return data.isEmpty() ? QByteArray() : data + "/Thunar/sendto";
    }
    return {};
}

std::vector<LauncherPlace> XdgSpecialFolders::sendToPlaces() {
    const QByteArray data = DataHome();
    const QByteArray config = ConfigHome();
    std::vector<LauncherPlace> places;
    if (!data.isEmpty()) {
        places.push_back({data + "/Thunar/sendto", LauncherForm::ThunarSendTo});
        places.push_back({data + "/kio/servicemenus", LauncherForm::DolphinServiceMenu});
        places.push_back({data + "/nautilus/scripts", LauncherForm::NautilusScript});
        places.push_back({data + "/nemo/actions", LauncherForm::NemoAction});
    }
    if (!config.isEmpty()) places.push_back({config + "/caja/scripts", LauncherForm::CajaScript});
    return places;
}

bool XdgSpecialFolders::makeFolder(const QByteArray& folder) {
    // mkpath creates with 0777 less the umask, the user's own default.
    return !folder.isEmpty() && QDir().mkpath(QFile::decodeName(folder));
}

void XdgSpecialFolders::markTrusted(const QByteArray& launcher) {
    // The metadata lives in the desktop's own store, reached through GIO's command; where
    // there is none, the desktop does not ask for trust either.
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty()) return;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(gio, {QStringLiteral("set"), QStringLiteral("-t"), QStringLiteral("string"),
                        QFile::decodeName(launcher), QStringLiteral("metadata::trusted"),
                        QStringLiteral("true")});
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(1000);
    }
}

QByteArray XdgSpecialFolders::earlierSendToLauncher() {
    const QByteArray data = DataHome();
    if (data.isEmpty()) return {};
    const QByteArray path = data + "/applications/Quillet.desktop";
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::ReadOnly)) return {};
    // Only that launcher, word for word apart from its program's path; anything else of that
    // name is the user's own.
    const QByteArray content = file.read(64 * 1024);
    const bool earlier =
        content.startsWith(
            "[Desktop Entry]\nType=Application\nName=Quillet\n"
            "Comment=Renames the files of a folder in one pass\n"
            "Exec=") &&
        content.endsWith("/Quillex\" %f\nMimeType=inode/directory;\nNoDisplay=true\n") &&
        content.count('\n') == 7;
    return earlier ? path : QByteArray();
}

}  // namespace quillet
