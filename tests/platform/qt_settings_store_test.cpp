#include "platform/linux/qt_settings_store.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

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

// Runs one write in a child (so that a write that never returns cannot hold up the tests) and
// gives how long it took, or -1 when it was still running after 5 s.
struct TimedWrite {
    qint64 ms = -1;
    int exitCode = -1;  // 0 written, 1 refused
};

TimedWrite WriteInChild(bool unprivileged = false) {
    QElapsedTimer timer;
    timer.start();
    const pid_t child = ::fork();
    if (child == 0) {
        if (unprivileged && !test::DropRootPrivileges()) ::_exit(3);
        QtSettingsStore store;
        const bool written = store.write(QStringLiteral("Pixalo"), QStringLiteral("Counter"),
                                         QStringLiteral("app"), QStringLiteral("0"));
        ::_exit(written ? 0 : 1);
    }
    TimedWrite result;
    int status = 0;
    while (timer.elapsed() < 5000) {
        if (::waitpid(child, &status, WNOHANG) == child) {
            result.ms = timer.elapsed();
            result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    return result;
}

struct HostileCase {
    const char* label;
    // Prepares the configuration folder `config` (which exists) inside `home`.
    std::function<void(TempFolder& home)> prepare;
    bool unprivileged;
    bool written;  // whether the value is expected to be written
};

class HostileSettingsTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileSettingsTest, TheWriteEndsWithinTwoSeconds) {
    TempFolder home;
    home.makeFolder("config");
    ::chmod(home.path().constData(), 0755);
    ConfigHome config(home.pathOf("config"));
    GetParam().prepare(home);
    const TimedWrite run = WriteInChild(GetParam().unprivileged);
    ::chmod(home.pathOf("config").constData(), 0755);
    ASSERT_GE(run.ms, 0) << "still writing after 5 s";
    EXPECT_LT(run.ms, 2000);
    EXPECT_EQ(run.exitCode, GetParam().written ? 0 : 1);
    if (GetParam().written) {
        QSettings reader(QString::fromUtf8(home.pathOf("config/Pixalo.conf")),
                         QSettings::IniFormat);
        EXPECT_EQ(reader.value(QStringLiteral("Counter/app")).toString(), QStringLiteral("0"));
    }
}

void WriteLock(TempFolder& home, const QByteArray& pid) {
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    home.write("config/Pixalo.conf.lock", pid + "\nPixalo\n" + host + "\n");
}

// A process id that is surely not running: a child that has ended and been reaped.
QByteArray EndedPid() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return QByteArray::number(child);
}

INSTANTIATE_TEST_SUITE_P(
    Files, HostileSettingsTest,
    ::testing::Values(
        HostileCase{
            "SettingsFileIsAFifo",
            [](TempFolder& h) { ::mkfifo(h.pathOf("config/Pixalo.conf").constData(), 0600); },
            false, false},
        HostileCase{"SettingsFileLinksToADevice",
                    [](TempFolder& h) {
                        ::symlink("/dev/zero", h.pathOf("config/Pixalo.conf").constData());
                    },
                    false, false},
        HostileCase{"SettingsFileIsAFolder",
                    [](TempFolder& h) { h.makeFolder("config/Pixalo.conf"); }, false, false},
        HostileCase{"LockIsAFolder", [](TempFolder& h) { h.makeFolder("config/Pixalo.conf.lock"); },
                    false, true},
        HostileCase{
            "LockIsAFifo",
            [](TempFolder& h) { ::mkfifo(h.pathOf("config/Pixalo.conf.lock").constData(), 0600); },
            false, true},
        HostileCase{"LockHeldByALiveProcess",
                    [](TempFolder& h) { WriteLock(h, QByteArray::number(::getpid())); }, false,
                    true},
        HostileCase{"LockOfAnEndedProcess", [](TempFolder& h) { WriteLock(h, EndedPid()); }, false,
                    true},
        HostileCase{"StaleLockInAReadOnlyFolder",
                    [](TempFolder& h) {
                        h.write("config/Pixalo.conf", "[Counter]\napp=5\n");
                        WriteLock(h, EndedPid());
                        ::chmod(h.pathOf("config").constData(), 0555);
                    },
                    true, false}),
    [](const ::testing::TestParamInfo<HostileCase>& info) {
        return std::string(info.param.label);
    });

TEST(QtSettingsStore, KeepsEveryOtherByteOfTheFile) {
    TempFolder home;
    home.makeFolder("config");
    const QByteArray before =
        "; viewer\r\n[General]\r\nlast folder=C:\\photos\\2001\r\n[Counter]\r\napp=7\r\n"
        "[View]\r\nzoom=2\r\n";
    home.write("config/Pixalo.conf", before);
    ConfigHome config(home.pathOf("config"));
    QtSettingsStore store;
    ASSERT_TRUE(store.write(QStringLiteral("Pixalo"), QStringLiteral("Counter"),
                            QStringLiteral("app"), QStringLiteral("0")));
    QByteArray expected = before;
    expected.replace("app=7", "app=0");
    EXPECT_EQ(home.read("config/Pixalo.conf").toStdString(), expected.toStdString());
    // Replaced in one step: nothing but the file is left beside it.
    EXPECT_EQ(test::NamesIn(home.pathOf("config")), QList<QByteArray>{"Pixalo.conf"});
}

TEST(QtSettingsStore, WritesThroughALinkAndKeepsIt) {
    TempFolder home;
    home.makeFolder("config");
    home.makeFolder("dotfiles");
    home.write("dotfiles/Pixalo.conf", "[Counter]\napp=3\n");
    ::symlink("../dotfiles/Pixalo.conf", home.pathOf("config/Pixalo.conf").constData());
    ConfigHome config(home.pathOf("config"));
    QtSettingsStore store;
    ASSERT_TRUE(store.write(QStringLiteral("Pixalo"), QStringLiteral("Counter"),
                            QStringLiteral("app"), QStringLiteral("0")));
    struct stat st;
    ASSERT_EQ(::lstat(home.pathOf("config/Pixalo.conf").constData(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(home.read("dotfiles/Pixalo.conf"), "[Counter]\napp=0\n");
}

// Sets or clears one environment variable for one test.
class Variable {
  public:
    Variable(const char* name, const char* value) : m_name(name) {
        m_had = qEnvironmentVariableIsSet(name);
        m_saved = qgetenv(name);
        if (value) {
            qputenv(name, value);
        } else {
            qunsetenv(name);
        }
    }
    ~Variable() {
        if (m_had) {
            qputenv(m_name, m_saved);
        } else {
            qunsetenv(m_name);
        }
    }

  private:
    const char* m_name;
    QByteArray m_saved;
    bool m_had = false;
};

TEST(UserConfigFolder, IgnoresARelativeConfigHome) {
    Variable config("XDG_CONFIG_HOME", "photos/config");
    Variable home("HOME", "/home/someone");
    EXPECT_EQ(UserConfigFolder(), "/home/someone/.config");
}

TEST(UserConfigFolder, TakesAnAbsoluteConfigHome) {
    Variable config("XDG_CONFIG_HOME", "/srv/config");
    EXPECT_EQ(UserConfigFolder(), "/srv/config");
}

TEST(UserConfigFolder, WithoutHomeTakesThePasswordDatabasesHome) {
    Variable config("XDG_CONFIG_HOME", nullptr);
    Variable home("HOME", nullptr);
    const struct passwd* entry = ::getpwuid(::getuid());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(UserConfigFolder(), QByteArray(entry->pw_dir) + "/.config");
}

}  // namespace
}  // namespace quillet
