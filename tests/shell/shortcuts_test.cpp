#include "shell/shortcuts.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include "support/window_harness.h"

namespace quillet::test {
namespace {

// A home of its own, so the desktop and applications folders are temporary ones.
class ShortcutsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previousHome = qgetenv("HOME");
        previousData = qgetenv("XDG_DATA_HOME");
        qputenv("HOME", home.path());
        qputenv("XDG_DATA_HOME", home.pathOf(".local/share"));
        desktop = home.makeFolder("Desktop");
        QDir().mkpath(QString::fromUtf8(home.pathOf(".local/share/applications")));
        applications = home.pathOf(".local/share/applications");
    }
    void TearDown() override {
        qputenv("HOME", previousHome);
        qputenv("XDG_DATA_HOME", previousData);
    }
    TempFolder home;
    QByteArray desktop, applications, previousHome, previousData;
};

TEST_F(ShortcutsTest, AnExistingLauncherPressesItsButtonAtStartUp) {
    TempFolder launchers;
    QFile(QString::fromUtf8(desktop + "/Quillet.desktop")).open(QIODevice::WriteOnly);
    WindowHarness harness;
    harness.startOnPhotos();
    EXPECT_EQ(harness.form().Toolbar1.button(1).value, 1);
    EXPECT_EQ(harness.form().Toolbar1.button(1).toolTip,
              QStringLiteral("[デスクトップ]のショートカットを削除します"));
    EXPECT_EQ(harness.form().Toolbar1.button(2).value, 0);
    EXPECT_EQ(harness.form().Toolbar1.button(2).toolTip,
              QStringLiteral("[送る]にショートカットを作成します"));
}

TEST_F(ShortcutsTest, PressingAndReleasingCreatesAndDeletesTheLaunchers) {
    WindowHarness harness;
    harness.process.folder = "/opt/my \"odd\" $dir\\bin";
    harness.startOnPhotos();
    auto& bar = harness.form().Toolbar1;

    bar.userClick(1);
    bar.userClick(2);
    const QByteArray onDesktop = desktop + "/Quillet.desktop";
    const QByteArray forFolders = applications + "/Quillet.desktop";
    struct stat st {};
    ASSERT_EQ(::stat(onDesktop.constData(), &st), 0);
    EXPECT_NE(st.st_mode & 0100, 0u);
    ASSERT_EQ(::stat(forFolders.constData(), &st), 0);
    EXPECT_EQ(bar.button(2).toolTip, QStringLiteral("[送る]のショートカットを削除します"));

    QFile file(QString::fromUtf8(forFolders));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    EXPECT_TRUE(
        content.contains("Exec=\"/opt/my \\\\\"odd\\\\\" \\\\$dir\\\\\\\\bin/Quillex\" %f\n"))
        << content.constData();
    EXPECT_TRUE(content.contains("MimeType=inode/directory;\n"));

    if (!QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty()) {
        for (const QByteArray& path : {onDesktop, forFolders}) {
            QProcess validate;
            validate.start(QStringLiteral("desktop-file-validate"), {QString::fromUtf8(path)});
            ASSERT_TRUE(validate.waitForFinished());
            EXPECT_EQ(validate.exitCode(), 0) << validate.readAllStandardOutput().constData();
        }
    }

    bar.userClick(1);
    EXPECT_NE(::stat(onDesktop.constData(), &st), 0);
    EXPECT_EQ(bar.button(1).toolTip, QStringLiteral("[デスクトップ]にショートカットを作成します"));
}

TEST_F(ShortcutsTest, AFolderThatCannotBeWrittenFailsQuietly) {
    ::rmdir(desktop.constData());
    QFile(QString::fromUtf8(desktop)).open(QIODevice::WriteOnly);  // a file where the folder was
    WindowHarness harness;
    harness.startOnPhotos();
    harness.form().Toolbar1.userClick(1);
    EXPECT_EQ(harness.form().Toolbar1.button(1).value, 1);
    EXPECT_EQ(harness.form().Toolbar1.button(1).toolTip,
              QStringLiteral("[デスクトップ]のショートカットを削除します"));
}

}  // namespace
}  // namespace quillet::test
