#include "platform/linux/qt_settings_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QSettings>

#include "support/temp_folder.h"
#include "support/unprivileged.h"

namespace quillet {
namespace {

using test::TempFolder;

// Points the per-user configuration folder somewhere for one test.
class ConfigHome {
  public:
    explicit ConfigHome(const QByteArray& folder) : m_saved(qgetenv("XDG_CONFIG_HOME")) {
        m_had = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", folder);
    }
    ~ConfigHome() {
        if (m_had) {
            qputenv("XDG_CONFIG_HOME", m_saved);
        } else {
            qunsetenv("XDG_CONFIG_HOME");
        }
    }

  private:
    QByteArray m_saved;
    bool m_had = false;
};

TEST(QtSettingsStore, WritesTheValueWhereTheCompanionReadsIt) {
    TempFolder home;
    ConfigHome config(home.pathOf("config"));
    QtSettingsStore store;
    ASSERT_TRUE(store.write(QStringLiteral("Pixalo"), QStringLiteral("Counter"),
                            QStringLiteral("app"), QStringLiteral("0")));
    const QString file = QString::fromUtf8(home.pathOf("config/Pixalo.conf"));
    ASSERT_TRUE(QFile::exists(file));
    QSettings reader(file, QSettings::IniFormat);
    EXPECT_EQ(reader.value(QStringLiteral("Counter/app")).toString(), QStringLiteral("0"));
    EXPECT_TRUE(home.read("config/Pixalo.conf").contains("[Counter]\napp=0"));
}

TEST(QtSettingsStore, ReplacesAnEarlierValueAndKeepsOtherKeys) {
    TempFolder home;
    home.makeFolder("config");
    home.write("config/Pixalo.conf", "[Counter]\napp=5\nother=kept\n[View]\nzoom=2\n");
    ConfigHome config(home.pathOf("config"));
    QtSettingsStore store;
    ASSERT_TRUE(store.write(QStringLiteral("Pixalo"), QStringLiteral("Counter"),
                            QStringLiteral("app"), QStringLiteral("0")));
    QSettings reader(QString::fromUtf8(home.pathOf("config/Pixalo.conf")), QSettings::IniFormat);
    EXPECT_EQ(reader.value(QStringLiteral("Counter/app")).toString(), QStringLiteral("0"));
    EXPECT_EQ(reader.value(QStringLiteral("Counter/other")).toString(), QStringLiteral("kept"));
    EXPECT_EQ(reader.value(QStringLiteral("View/zoom")).toString(), QStringLiteral("2"));
}

TEST(QtSettingsStore, ReportsAFolderThatCannotBeCreated) {
    TempFolder home;
    home.write("plain-file");
    // Below a regular file no folder can exist, whoever runs the test.
    ConfigHome config(home.pathOf("plain-file/config"));
    QtSettingsStore store;
    EXPECT_FALSE(store.write(QStringLiteral("Pixalo"), QStringLiteral("Counter"),
                             QStringLiteral("app"), QStringLiteral("0")));
}

TEST(QtSettingsStore, ReportsAFolderThatCannotBeWritten) {
    TempFolder home;
    home.makeFolder("config");
    ::chmod(home.path().constData(), 0755);
    ::chmod(home.pathOf("config").constData(), 0555);
    ConfigHome config(home.pathOf("config"));
    // In a child without root's privileges, for whom the folder really is read-only.
    EXPECT_EXIT(
        {
            if (!test::DropRootPrivileges()) ::_exit(3);
            QtSettingsStore store;
            const bool written = store.write(QStringLiteral("Pixalo"), QStringLiteral("Counter"),
                                             QStringLiteral("app"), QStringLiteral("0"));
            ::_exit(written ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
    ::chmod(home.pathOf("config").constData(), 0755);
    EXPECT_FALSE(home.exists("config/Pixalo.conf"));
}

}  // namespace
}  // namespace quillet
