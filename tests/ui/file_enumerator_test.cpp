#include "ui/file_enumerator.h"

#include <gtest/gtest.h>

#include "platform/linux/linux_file_system.h"
#include "support/temp_folder.h"

namespace quillet {
namespace {

// Checking that a new folder can be listed reads it; the rebuild that follows a change of
// folder must not read a large folder a second time, but every later refresh and every new
// pattern must see the folder as it is then.
TEST(FileEnumerator, AFolderJustSwitchedToIsReadOnceAndEveryLaterRefreshReadsItAgain) {
    test::TempFolder folder;
    folder.write("a.jpg");
    LinuxFileSystem files;
    FileEnumerator File1(QStringLiteral("File1"), files, "/", QStringLiteral("*.jpg"));

    ASSERT_TRUE(File1.setPath(folder.path()));
    folder.write("b.jpg");
    File1.refresh();
    EXPECT_EQ(File1.listCount(), 1) << "the listing made on the switch serves its rebuild";
    File1.refresh();
    EXPECT_EQ(File1.listCount(), 2) << "a refresh after a read reads the folder again";

    ASSERT_TRUE(File1.setPath(folder.path()));
    folder.write("c.jpg");
    File1.setPattern(QStringLiteral("*.jpg"));
    EXPECT_EQ(File1.listCount(), 2) << "the same pattern again keeps the switch's listing";
    File1.setPattern(QStringLiteral("*.jpg;*.gif"));
    EXPECT_EQ(File1.listCount(), 3) << "a new pattern reads the folder again";
}

}  // namespace
}  // namespace quillet
