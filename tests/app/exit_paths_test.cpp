#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "support/unprivileged.h"
#include "support/window_harness.h"

namespace quillet::test {
namespace {

TEST(ExitPaths, CancelWritesTheHandshakeAndEndsWithoutTouchingFiles) {
    WindowHarness harness;
    harness.photos.write("a_1.jpg");
    harness.startOnPhotos();
    EXPECT_THROW(harness.form().Command2.click(), ProgramEnded);
    EXPECT_EQ(harness.handshakeValue(), QStringLiteral("0"));
    EXPECT_EQ(harness.photos.names(), QList<QByteArray>{"a_1.jpg"});
}

TEST(ExitPaths, ClosingTheWindowWritesTheHandshakeAtBothStages) {
    WindowHarness harness;
    harness.startOnPhotos();
    harness.window().Form_QueryUnload();
    EXPECT_EQ(harness.handshakeValue(), QStringLiteral("0"));
    QFile::remove(QString::fromUtf8(harness.config.pathOf("Pixalo.conf")));
    harness.window().Form_Unload();
    EXPECT_EQ(harness.handshakeValue(), QStringLiteral("0"));
    EXPECT_EQ(harness.process.endCount, 0);  // the window's own closing ends the program
}

TEST(ExitPaths, ASettingsFileThatCannotBeWrittenNeverKeepsTheProgramFromEnding) {
    WindowHarness harness;
    harness.photos.write("a_1.jpg");
    harness.startOnPhotos();
    ::chmod(harness.config.path().constData(), 0555);
    ::chmod(harness.photos.path().constData(), 0777);
    EXPECT_EXIT(
        {
            if (!DropRootPrivileges()) ::_exit(3);
            ::_exit(harness.execute() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
    ::chmod(harness.config.path().constData(), 0755);
    EXPECT_TRUE(harness.handshakeValue().isNull());
    EXPECT_TRUE(harness.photos.exists("a_1.jpg"));
}

TEST(ExitPaths, ASettingsPathThatIsAFileNeverKeepsTheProgramFromEnding) {
    WindowHarness harness;
    harness.startOnPhotos();
    // The settings file's place is taken by a folder: the write fails, whoever runs the test.
    harness.config.makeFolder("Pixalo.conf");
    EXPECT_THROW(harness.form().Command2.click(), ProgramEnded);
    EXPECT_EQ(harness.process.endCount, 1);
}

}  // namespace
}  // namespace quillet::test
