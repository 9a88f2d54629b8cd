#include "shell/folder_problem.h"

#include <gtest/gtest.h>

#include "support/window_harness.h"

namespace quillet::test {
namespace {

TEST(FolderProblem, NothingToSayWhenTheListShowsTheFolderAsked) {
    WindowHarness harness;
    harness.photos.write("a_1.jpg");
    harness.startOnPhotos();
    EXPECT_TRUE(FolderProblem(harness.form(), harness.window().platform().files).isEmpty());
}

// A start on something that is not a folder: the list stays on the folder the program was
// started in, while the status bar names what it was given.
TEST(FolderProblem, APathThatIsNoFolderIsNamedWithTheFolderListedInstead) {
    WindowHarness harness;
    const QByteArray missing = harness.photos.write("a_1.jpg");
    ASSERT_TRUE(harness.load(missing));
    const QString told = FolderProblem(harness.form(), harness.window().platform().files);
    EXPECT_TRUE(told.contains(QStringLiteral("見つかりません"))) << told.toStdString();
    EXPECT_TRUE(told.contains(QString::fromUtf8(missing)));
    EXPECT_TRUE(told.contains(QString::fromUtf8(harness.form().File1.path())));
}

}  // namespace
}  // namespace quillet::test
