#include "platform/linux/hidden_list.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>

#include "support/temp_folder.h"
#include "support/unprivileged.h"

namespace quillet {
namespace {

using test::TempFolder;

ino_t InodeOf(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 ? st.st_ino : 0;
}

class HiddenListTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder.write("probe");
        xattrsWork = ::setxattr(folder.pathOf("probe").constData(), "user.probe", "1", 1, 0) == 0;
        ::unlink(folder.pathOf("probe").constData());
        fd = ::open(folder.path().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
    }
    void TearDown() override { ::close(fd); }

    QByteArray list() const { return folder.read(".hidden"); }
    // Nothing but the list and the named files: no temporary copy is left behind.
    QList<QByteArray> names() const { return folder.names(); }

    TempFolder folder;
    int fd = -1;
    bool xattrsWork = false;
};

TEST_F(HiddenListTest, ACreatedListIsRemovedWhenItsLastNameGoes) {
    folder.write("a.jpg");
    folder.write("b.jpg");
    EXPECT_EQ(SetListedAsHidden(fd, "a.jpg", true), 0);
    EXPECT_EQ(SetListedAsHidden(fd, "b.jpg", true), 0);
    EXPECT_EQ(list(), "a.jpg\nb.jpg\n");
    EXPECT_TRUE(ListedAsHidden(fd, "a.jpg"));
    EXPECT_TRUE(ListedAsHidden(fd, "b.jpg"));
    EXPECT_FALSE(ListedAsHidden(fd, "c.jpg"));

    EXPECT_EQ(SetListedAsHidden(fd, "a.jpg", false), 0);
    EXPECT_EQ(list(), "b.jpg\n");
    EXPECT_EQ(SetListedAsHidden(fd, "b.jpg", false), 0);
    if (xattrsWork) {
        EXPECT_FALSE(folder.exists(".hidden"));
    } else {
        EXPECT_EQ(list(), "");  // no mark can say the program made it
    }
    EXPECT_EQ(names().size(), xattrsWork ? 2 : 3);
}

struct KeptCase {
    const char* name;
    QByteArray before;
    QByteArray entry;
    bool listed;
    QByteArray after;
};

class HiddenListKeepsOtherLines : public HiddenListTest,
                                  public ::testing::WithParamInterface<KeptCase> {};

TEST_P(HiddenListKeepsOtherLines, ChangesOnlyTheEntrysOwnLine) {
    const KeptCase& c = GetParam();
    folder.write(".hidden", c.before);
    ::chmod(folder.pathOf(".hidden").constData(), 0640);
    const ino_t before = InodeOf(folder.pathOf(".hidden"));
    folder.write(c.entry);

    EXPECT_EQ(SetListedAsHidden(fd, c.entry, c.listed), 0);
    EXPECT_EQ(list(), c.after);
    EXPECT_EQ(ListedAsHidden(fd, c.entry), c.listed);
    struct stat st {};
    ASSERT_EQ(::stat(folder.pathOf(".hidden").constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    // Replaced in one step, never rewritten in place.
    if (c.before != c.after) {
        EXPECT_NE(st.st_ino, before);
    }
    EXPECT_EQ(names(), (QList<QByteArray>{".hidden", c.entry}));
}

INSTANTIATE_TEST_SUITE_P(
    Lists, HiddenListKeepsOtherLines,
    ::testing::Values(
        KeptCase{"AddedAfterALastLineWithoutBreak", "x\r\n\n  y \nz", "a.jpg", true,
                 "x\r\n\n  y \nz\na.jpg\n"},
        KeptCase{"AddedOnce", "a.jpg\n", "a.jpg", true, "a.jpg\n"},
        KeptCase{"NotUTF8Added", "\xe3\x81\x82\n", "b\xff.jpg", true, "\xe3\x81\x82\nb\xff.jpg\n"},
        KeptCase{"NotUTF8Removed", "b\xff.jpg\n\xfe\n", "b\xff.jpg", false, "\xfe\n"},
        KeptCase{"RemovedBetweenOthers", "x\na.jpg\n a.jpg\ny", "a.jpg", false, "x\n a.jpg\ny"},
        KeptCase{"RemovedEveryTime", "a.jpg\nx\na.jpg", "a.jpg", false, "x\n"},
        KeptCase{"ForeignListKeptWhenEmpty", "a.jpg\n", "a.jpg", false, ""},
        KeptCase{"NotListedLeavesItAlone", "x\n", "a.jpg", false, "x\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HiddenListTest, ANameThatNoLineCanHoldIsNeverListed) {
    folder.write(".hidden", "x\n");
    EXPECT_EQ(SetListedAsHidden(fd, "two\nlines", true), EINVAL);
    EXPECT_EQ(list(), "x\n");
    EXPECT_FALSE(ListedAsHidden(fd, "x\n"));
}

TEST_F(HiddenListTest, AListThatIsALinkIsNeitherFollowedNorReplaced) {
    TempFolder elsewhere;
    const QByteArray target = elsewhere.write("target", "a.jpg\n");
    ASSERT_EQ(::symlink(target.constData(), folder.pathOf(".hidden").constData()), 0);
    EXPECT_FALSE(ListedAsHidden(fd, "a.jpg"));
    EXPECT_NE(SetListedAsHidden(fd, "b.jpg", true), 0);
    EXPECT_EQ(elsewhere.read("target"), "a.jpg\n");
    struct stat st {};
    ASSERT_EQ(::lstat(folder.pathOf(".hidden").constData(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

TEST_F(HiddenListTest, AnEntryGivenByPathIsListedInItsOwnFolder) {
    folder.makeFolder("sub");
    folder.write("sub/a.jpg");
    EXPECT_EQ(SetListedAsHidden(AT_FDCWD, folder.pathOf("sub/a.jpg"), true), 0);
    EXPECT_EQ(folder.read("sub/.hidden"), "a.jpg\n");
    EXPECT_FALSE(folder.exists(".hidden"));
    EXPECT_TRUE(ListedAsHidden(AT_FDCWD, folder.pathOf("sub/a.jpg")));
    EXPECT_TRUE(ListedAsHidden(fd, "sub/a.jpg"));
}

TEST_F(HiddenListTest, AFolderThatCannotBeWrittenFailsAndKeepsItsList) {
    folder.write(".hidden", "x\n");
    ::chmod(folder.path().constData(), 0555);
    // In a child without root's privileges, for whom the folder really is read-only.
    EXPECT_EXIT(
        {
            if (!test::DropRootPrivileges()) ::_exit(3);
            ::_exit(SetListedAsHidden(fd, "a.jpg", true) == EACCES ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    ::chmod(folder.path().constData(), 0755);
    EXPECT_EQ(list(), "x\n");
    EXPECT_EQ(names(), (QList<QByteArray>{".hidden"}));
}

}  // namespace
}  // namespace quillet
