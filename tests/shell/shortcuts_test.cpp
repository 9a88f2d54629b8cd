#include "shell/shortcuts.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include "support/window_harness.h"

namespace quillet::test {
namespace {

struct SendToFile {
    const char* path;  // inside the data home, or the configuration home when it starts with ":"
    bool executable;
};

// Where each file manager looks for a program to offer on a selected folder.
const SendToFile kSendToFiles[] = {
    {"Thunar/sendto/Quillet.desktop", false}, {"kio/servicemenus/Quillet.desktop", true},
    {"nautilus/scripts/Quillet", true},       {"nemo/actions/quillet.nemo_action", false},
    {":caja/scripts/Quillet", true},
};

// A new account: a home of its own with none of the user folders made yet, and no file
// manager installed on the system that could claim folders.
class ShortcutsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : kVariables) saved.push_back(qgetenv(name));
        qputenv("HOME", home.path());
        qputenv("XDG_DATA_HOME", home.pathOf(".local/share"));
        qputenv("XDG_CONFIG_HOME", home.pathOf(".config"));
        qputenv("XDG_DATA_DIRS", system.path());
        qputenv("XDG_CONFIG_DIRS", system.path());
        qunsetenv("XDG_DESKTOP_DIR");
        desktop = home.pathOf("Desktop");
    }
    void TearDown() override {
        for (size_t i = 0; i < std::size(kVariables); ++i) {
            if (saved[i].isNull())
                qunsetenv(kVariables[i]);
            else
                qputenv(kVariables[i], saved[i]);
        }
    }
    static constexpr const char* kVariables[] = {
        "HOME",          "XDG_DATA_HOME",   "XDG_CONFIG_HOME",
        "XDG_DATA_DIRS", "XDG_CONFIG_DIRS", "XDG_DESKTOP_DIR"};
    TempFolder home, system;
    QByteArray desktop;
    QList<QByteArray> saved;
};

// The harness gives the window a configuration home of its own.
QByteArray PlaceOf(const SendToFile& file, WindowHarness& harness, TempFolder& home) {
    const QByteArray path = file.path;
    return path.startsWith(':') ? harness.config.pathOf(path.mid(1))
                                : home.pathOf(".local/share/" + path);
}

QByteArray ReadAll(const QByteArray& path) {
    QFile file(QFile::decodeName(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

mode_t ModeOf(const QByteArray& path) {
    struct stat st {};
    return ::stat(path.constData(), &st) == 0 ? st.st_mode : 0;
}

bool Exists(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0;
}

QByteArray OutputOf(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(20000)) return "(did not finish)";
    return process.readAllStandardOutput() + process.readAllStandardError();
}

TEST_F(ShortcutsTest, AnExistingDesktopLauncherPressesOnlyItsButtonAtStartUp) {
    home.makeFolder("Desktop");
    home.write("Desktop/Quillet.desktop");
    WindowHarness harness;
    harness.startOnPhotos();
    EXPECT_EQ(harness.form().Toolbar1.button(1).value, 1);
    EXPECT_EQ(harness.form().Toolbar1.button(1).toolTip,
              QStringLiteral("[デスクトップ]のショートカットを削除します"));
    EXPECT_EQ(harness.form().Toolbar1.button(2).value, 0);
    EXPECT_EQ(harness.form().Toolbar1.button(2).toolTip,
              QStringLiteral("[送る]にショートカットを作成します"));
}

TEST_F(ShortcutsTest, AnyFileManagersLauncherPressesTheSendtoButtonAtStartUp) {
    for (const SendToFile& file : kSendToFiles) {
        SCOPED_TRACE(file.path);
        WindowHarness harness;
        const QByteArray path = PlaceOf(file, harness, home);
        QDir().mkpath(QFileInfo(QString::fromUtf8(path)).path());
        QFile(QString::fromUtf8(path)).open(QIODevice::WriteOnly);
        harness.startOnPhotos();
        EXPECT_EQ(harness.form().Toolbar1.button(1).value, 0);
        EXPECT_EQ(harness.form().Toolbar1.button(2).value, 1);
        EXPECT_EQ(harness.form().Toolbar1.button(2).toolTip,
                  QStringLiteral("[送る]のショートカットを削除します"));
        ::unlink(path.constData());
    }
}

TEST_F(ShortcutsTest, SendtoWritesEveryFileManagersLauncherInAFreshHomeAndRemovesThemAgain) {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    WindowHarness harness;
    harness.startOnPhotos();
    auto& bar = harness.form().Toolbar1;

    bar.userClick(2);
    EXPECT_EQ(bar.button(2).toolTip, QStringLiteral("[送る]のショートカットを削除します"));
    for (const SendToFile& file : kSendToFiles) {
        SCOPED_TRACE(file.path);
        const QByteArray path = PlaceOf(file, harness, home);
        ASSERT_TRUE(Exists(path));
        EXPECT_EQ((ModeOf(path) & 0100) != 0, file.executable);
        const QByteArray folder = path.left(path.lastIndexOf('/'));
        EXPECT_EQ(ModeOf(folder) & 0777, 0777 & ~mask);
        EXPECT_FALSE(ReadAll(path).contains("Comment")) << ReadAll(path).constData();
    }
    EXPECT_FALSE(Exists(desktop + "/Quillet.desktop"));

    bar.userClick(2);
    EXPECT_EQ(bar.button(2).toolTip, QStringLiteral("[送る]にショートカットを作成します"));
    for (const SendToFile& file : kSendToFiles) {
        EXPECT_FALSE(Exists(PlaceOf(file, harness, home))) << file.path;
    }
}

// The launcher of earlier versions, among the applications, claimed folders.
TEST_F(ShortcutsTest, TheEarlierSendtoLauncherCountsAndGivesWayToTheNewOnes) {
    const QByteArray earlier =
        "[Desktop Entry]\nType=Application\nName=Quillet\n"
        "Comment=Renames the files of a folder in one pass\n"
        "Exec=\"/opt/q b/Quillex\" %f\nMimeType=inode/directory;\nNoDisplay=true\n";
    home.makeFolder(".local");
    home.makeFolder(".local/share");
    home.makeFolder(".local/share/applications");
    home.write(".local/share/applications/Quillet.desktop", earlier);
    WindowHarness harness;
    harness.startOnPhotos();
    EXPECT_EQ(harness.form().Toolbar1.button(2).value, 1);
    harness.form().Toolbar1.userClick(2);
    EXPECT_FALSE(home.exists(".local/share/applications/Quillet.desktop"));
    harness.form().Toolbar1.userClick(2);
    EXPECT_TRUE(Exists(home.pathOf(".local/share/Thunar/sendto/Quillet.desktop")));

    // A file of that name with any other content is the user's own.
    const QByteArray own = QByteArray(earlier).replace("NoDisplay=true\n", "NoDisplay=false\n");
    home.write(".local/share/applications/Quillet.desktop", own);
    harness.form().Toolbar1.userClick(2);
    harness.form().Toolbar1.userClick(2);
    EXPECT_EQ(home.read(".local/share/applications/Quillet.desktop"), own);
    WindowHarness again;
    again.startOnPhotos();
    EXPECT_EQ(again.form().Toolbar1.button(2).value, 1);  // the new launchers are there
}

TEST_F(ShortcutsTest, TheDesktopLauncherIsAValidExecutableEntryWithoutDescription) {
    WindowHarness harness;
    harness.process.folder = "/opt/my \"odd\" $dir\\bin";
    harness.startOnPhotos();
    harness.form().Toolbar1.userClick(1);

    const QByteArray launcher = desktop + "/Quillet.desktop";
    ASSERT_TRUE(Exists(launcher));
    EXPECT_NE(ModeOf(launcher) & 0100, 0u);
    const QByteArray content = home.read("Desktop/Quillet.desktop");
    EXPECT_TRUE(content.contains("\nName=Quillet\n"));
    // The shell starts the program, whose path follows as printf's text: the backslash doubled.
    EXPECT_TRUE(content.contains("Exec=/bin/sh -c ")) << content.constData();
    EXPECT_TRUE(
        content.contains(" \"/opt/my \\\\\"odd\\\\\" \\\\$dir\\\\\\\\\\\\\\\\bin/Quillex\" %f\n"))
        << content.constData();
    EXPECT_FALSE(content.contains("Comment"));
    EXPECT_FALSE(content.contains("MimeType"));
    if (!QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty()) {
        EXPECT_EQ(OutputOf(QStringLiteral("desktop-file-validate"), {QString::fromUtf8(launcher)}),
                  QByteArray());
    }

    harness.form().Toolbar1.userClick(1);
    EXPECT_FALSE(Exists(launcher));
    EXPECT_EQ(harness.form().Toolbar1.button(1).toolTip,
              QStringLiteral("[デスクトップ]にショートカットを作成します"));
}

// Refreshing the MIME caches as a desktop does, then asking GIO which program opens folders,
// must give the same answer with and without the launchers.
TEST_F(ShortcutsTest, TheLaunchersNeverBecomeAProgramForOpeningFolders) {
    if (QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty()) {
        GTEST_SKIP() << "gio is not installed";
    }
    const auto refreshAndAsk = [&] {
        const QString applications = QString::fromUtf8(home.pathOf(".local/share/applications"));
        QDir().mkpath(applications);
        OutputOf(QStringLiteral("update-desktop-database"), {applications});
        return OutputOf(QStringLiteral("gio"),
                        {QStringLiteral("mime"), QStringLiteral("inode/directory")});
    };
    const QByteArray before = refreshAndAsk();
    WindowHarness harness;
    harness.startOnPhotos();
    harness.form().Toolbar1.userClick(1);
    harness.form().Toolbar1.userClick(2);
    ASSERT_TRUE(Exists(desktop + "/Quillet.desktop"));
    const QByteArray after = refreshAndAsk();
    EXPECT_EQ(after, before);
    EXPECT_FALSE(after.contains("Quillet")) << after.constData();
    std::printf("gio mime inode/directory, before and after: %s", after.constData());

    // Nothing in the home names the program for a MIME type.
    QProcess grep;
    grep.start(QStringLiteral("grep"), {QStringLiteral("-rl"), QStringLiteral("Quillet"),
                                        QString::fromUtf8(home.pathOf(".local/share/applications")),
                                        QString::fromUtf8(home.pathOf(".config"))});
    ASSERT_TRUE(grep.waitForFinished());
    const QByteArray found = grep.readAllStandardOutput();
    EXPECT_FALSE(found.contains("mimeinfo.cache") || found.contains("mimeapps.list"))
        << found.constData();
}

TEST_F(ShortcutsTest, AFolderThatCannotBeMadeFailsQuietly) {
    home.write("Desktop");  // a file where the folder belongs
    WindowHarness harness;
    harness.startOnPhotos();
    harness.form().Toolbar1.userClick(1);
    EXPECT_EQ(harness.form().Toolbar1.button(1).value, 1);
    EXPECT_EQ(harness.form().Toolbar1.button(1).toolTip,
              QStringLiteral("[デスクトップ]のショートカットを削除します"));
}

}  // namespace
}  // namespace quillet::test
