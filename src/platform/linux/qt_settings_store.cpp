#include "platform/linux/qt_settings_store.h"

#include <QSettings>
#include <QStandardPaths>

namespace quillet {

bool QtSettingsStore::write(const QString& application, const QString& section, const QString& key,
                            const QString& value) {
    // The file that QSettings' native user scope uses for an organisation without an
    // application name. Named explicitly because QSettings looks up XDG_CONFIG_HOME only once
    // per process, and a change of it must still be followed.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (folder.isEmpty() || application.isEmpty()) return false;
    QSettings settings(folder + QLatin1Char('/') + application + QLatin1String(".conf"),
                       QSettings::IniFormat);
    settings.beginGroup(section);
    settings.setValue(key, value);
    settings.endGroup();
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace quillet
