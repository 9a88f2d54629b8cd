#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

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
    if (::geteuid() == 0) GTEST_SKIP() << "root may write into read-only folders";
    WindowHarness harness;
    harness.photos.write("a_1.jpg");
    harness.startOnPhotos();
    ::chmod(harness.config.path().constData(), 0555);
    EXPECT_FALSE(harness.execute());
    ::chmod(harness.config.path().constData(), 0755);
    EXPECT_EQ(harness.process.endCount, 1);
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
