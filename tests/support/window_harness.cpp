#include "support/window_harness.h"

#include <unistd.h>

#include <QSettings>

#include "platform/linux/linux_file_system.h"
#include "platform/linux/qt_settings_store.h"
#include "platform/linux/xdg_special_folders.h"

namespace quillet::test {

struct WindowHarness::Real {
    LinuxFileSystem files;
    QtSettingsStore settings;
    XdgSpecialFolders specialFolders;
};

WindowHarness::WindowHarness() : WindowHarness(nullptr, nullptr) {}

WindowHarness::WindowHarness(FileSystem* files, SettingsStore* settings)
    : m_real(std::make_unique<Real>()) {
    m_previousConfigHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path());
    char cwd[4096];
    if (::getcwd(cwd, sizeof cwd)) m_previousCwd = cwd;
    FileSystem& usedFiles = files ? *files : m_real->files;
    SettingsStore& usedSettings = settings ? *settings : m_real->settings;
    m_platform = std::make_unique<Platform>(Platform{
        usedFiles, usedSettings, feedback, folderPicker, m_real->specialFolders, clock, process});
    m_window = std::make_unique<FormWiring>(*m_platform);
}

WindowHarness::~WindowHarness() {
    m_window.reset();
    if (!m_previousCwd.isEmpty() && ::chdir(m_previousCwd.constData()) != 0) {
        // The next test starts from wherever it finds itself.
    }
    qputenv("XDG_CONFIG_HOME", m_previousConfigHome);
}

void WindowHarness::startOnPhotos() {
    load(photos.path());
}

bool WindowHarness::load(const QByteArray& commandLine) {
    process.arguments = commandLine;
    try {
        m_window->Form_Load();
        return true;
    } catch (const ProgramEnded&) {
        return false;
    }
}

bool WindowHarness::execute() {
    try {
        form().Command1.click();
        return true;
    } catch (const ProgramEnded&) {
        return false;
    }
}

QString WindowHarness::handshakeValue() const {
    QSettings settings(QString::fromUtf8(config.pathOf("Pixalo.conf")), QSettings::IniFormat);
    return settings.value(QStringLiteral("Counter/app")).toString();
}

QStringList WindowHarness::newNames() {
    QStringList names;
    for (int i = 1; i <= form().LV.rowCount(); ++i) names << form().LV.row(i).newName;
    return names;
}

QStringList WindowHarness::fileNames() {
    QStringList names;
    for (int i = 1; i <= form().LV.rowCount(); ++i) names << form().LV.row(i).text;
    return names;
}

}  // namespace quillet::test
