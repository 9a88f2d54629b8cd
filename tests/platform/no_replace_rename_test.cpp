#include "platform/linux/no_replace_rename.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>

#include "platform/linux/linux_file_system.h"
#include "platform/linux/linux_open_folder.h"
#include "support/temp_folder.h"
#include "support/test_names.h"

namespace quillet {
namespace {

using test::TempFolder;

struct CaseCase {
    const char* from;
    const char* to;
    bool caseOnly;
};

class CaseOnlyTest : public ::testing::TestWithParam<CaseCase> {};

TEST_P(CaseOnlyTest, TellsALetterCaseChangeFromAnyOther) {
    EXPECT_EQ(DifferOnlyInCase(GetParam().from, GetParam().to), GetParam().caseOnly);
}

INSTANTIATE_TEST_SUITE_P(
    Names, CaseOnlyTest,
    ::testing::Values(
        CaseCase{"photo.jpg", "PHOTO.JPG", true}, CaseCase{"photo.jpg", "photo.jpg", false},
        CaseCase{"photo.jpg", "photo.jpeg", false}, CaseCase{"IMG_0001.jpg", "x_0001.jpg", false},
        CaseCase{"a@b.jpg", "A`B.jpg", false},                   // "@" and "`" are no letter pair
        CaseCase{"\xc3\xa4rger.jpg", "\xc3\x84RGER.JPG", true},  // U+00E4, U+00C4
        // The Kelvin sign folds to "k": three bytes against one.
        CaseCase{"\xe2\x84\xaa.jpg", "k.jpg", true}, CaseCase{"\xe2\x84\xaa.jpg", "x.jpg", false}),
    [](const auto& info) {
        return test::TestNameFrom(std::string(info.param.from) + " to " + info.param.to);
    });

struct MethodCase {
    RenameMethod method;
    const char* label;
};

class RenameMethodTest : public ::testing::TestWithParam<MethodCase> {
  protected:
    int rename(const QByteArray& from, const QByteArray& to) {
        LinuxFileSystem files(GetParam().method);
        const std::unique_ptr<OpenFolder> open = files.openFolder(folder.path());
        return open ? open->renameNoReplace(from, to) : -1;
    }

    TempFolder folder;
};

TEST_P(RenameMethodTest, MovesTheFileOntoAFreeName) {
    folder.write("a.jpg", "A");
    EXPECT_EQ(rename("a.jpg", "b.jpg"), 0);
    EXPECT_EQ(folder.names(), QList<QByteArray>{"b.jpg"});
    EXPECT_EQ(folder.read("b.jpg"), "A");
}

TEST_P(RenameMethodTest, NeverReplacesAnExistingFile) {
    folder.write("a.jpg", "A");
    folder.write("b.jpg", "B");
    EXPECT_EQ(rename("a.jpg", "b.jpg"), EEXIST);
    EXPECT_EQ(folder.names(), (QList<QByteArray>{"a.jpg", "b.jpg"}));
    EXPECT_EQ(folder.read("a.jpg"), "A");
    EXPECT_EQ(folder.read("b.jpg"), "B");
}

TEST_P(RenameMethodTest, RenamingOntoItselfChangesNothing) {
    folder.write("a.jpg", "A");
    EXPECT_NE(rename("a.jpg", "a.jpg"), 0);
    EXPECT_EQ(folder.names(), QList<QByteArray>{"a.jpg"});
    EXPECT_EQ(folder.read("a.jpg"), "A");
}

TEST_P(RenameMethodTest, AMissingSourceLeavesNoTraceUnderTheNewName) {
    EXPECT_EQ(rename("gone.jpg", "b.jpg"), ENOENT);
    EXPECT_TRUE(folder.names().isEmpty());
}

TEST_P(RenameMethodTest, KeepsNamesThatAreNotUtf8Intact) {
    folder.write("\xff\xfe.jpg", "A");
    EXPECT_EQ(rename("\xff\xfe.jpg", "\xe9t\xe9.jpg"), 0);
    EXPECT_EQ(folder.names(), QList<QByteArray>{"\xe9t\xe9.jpg"});
}

TEST_P(RenameMethodTest, ALetterCaseChangeOfOneFileGoesThroughAFreeName) {
    folder.write("photo.jpg", "A");
    int probes = 0;
    // Answers as a case-insensitive file system would.
    LinuxFileSystem files(GetParam().method, [&probes](int, const QByteArray&, const QByteArray&) {
        ++probes;
        return true;
    });
    EXPECT_EQ(files.openFolder(folder.path())->renameNoReplace("photo.jpg", "Photo.JPG"), 0);
    EXPECT_EQ(probes, 1);
    EXPECT_EQ(folder.names(), QList<QByteArray>{"Photo.JPG"});
    EXPECT_EQ(folder.read("Photo.JPG"), "A");
}

TEST_P(RenameMethodTest, ACaseChangeOntoASecondLinkIsUndone) {
    // Two names of one inode, differing in case: the same-entry probe says yes, yet the
    // target is taken, so the detour must come back.
    folder.write("a.jpg", "A");
    ASSERT_EQ(::link(folder.pathOf("a.jpg").constData(), folder.pathOf("A.JPG").constData()), 0);
    EXPECT_EQ(rename("a.jpg", "A.JPG"), EEXIST);
    EXPECT_EQ(folder.names(), (QList<QByteArray>{"A.JPG", "a.jpg"}));
}

INSTANTIATE_TEST_SUITE_P(
    EachMethod, RenameMethodTest,
    ::testing::Values(MethodCase{RenameMethod::Cascade, "Cascade"},
                      MethodCase{RenameMethod::KernelNoReplace, "KernelNoReplace"},
                      MethodCase{RenameMethod::LinkThenUnlink, "LinkThenUnlink"},
                      MethodCase{RenameMethod::ClaimThenRename, "ClaimThenRename"},
                      MethodCase{RenameMethod::CheckThenRename, "CheckThenRename"}),
    [](const ::testing::TestParamInfo<MethodCase>& info) { return info.param.label; });

struct BadName {
    QByteArray name;
    int error;
    const char* label;
};

class RenameBadNameTest : public ::testing::TestWithParam<BadName> {};

TEST_P(RenameBadNameTest, IsRefusedAsTargetAndLeavesTheFolderAlone) {
    TempFolder folder;
    folder.write("a.jpg", "A");
    folder.makeFolder("sub");
    LinuxFileSystem files;
    const std::unique_ptr<OpenFolder> open = files.openFolder(folder.path());
    ASSERT_TRUE(open);
    EXPECT_EQ(open->renameNoReplace("a.jpg", GetParam().name), GetParam().error);
    EXPECT_EQ(folder.names(), (QList<QByteArray>{"a.jpg", "sub"}));
    EXPECT_TRUE(folder.read("a.jpg") == "A");
}

TEST_P(RenameBadNameTest, IsRefusedAsSource) {
    TempFolder folder;
    folder.makeFolder("sub");
    folder.write("sub/x", "X");
    LinuxFileSystem files;
    const int expected = GetParam().error == ENAMETOOLONG ? ENAMETOOLONG : EINVAL;
    EXPECT_EQ(files.openFolder(folder.path())->renameNoReplace(GetParam().name, "b"), expected);
    EXPECT_EQ(folder.names(), QList<QByteArray>{"sub"});
}

INSTANTIATE_TEST_SUITE_P(
    Names, RenameBadNameTest,
    ::testing::Values(BadName{QByteArray(), EINVAL, "Empty"}, BadName{".", EINVAL, "Dot"},
                      BadName{"..", EINVAL, "DotDot"}, BadName{"sub/x", EINVAL, "Slash"},
                      BadName{"/", EINVAL, "Root"}, BadName{QByteArray("b\0c", 3), EINVAL, "Nul"},
                      BadName{QByteArray(256, 'n'), ENAMETOOLONG, "TooLong"}),
    [](const ::testing::TestParamInfo<BadName>& info) { return info.param.label; });

// The kernel's own calls are taken at their word on a disk of this machine; anywhere else, or
// with calls that may report a failure after doing their work, the folder is looked at.
TEST(RenameNoReplace, OnlyTheKernelsOwnCallsOnALocalDiskAreTakenAtTheirWord) {
    TempFolder folder;
    struct Case {
        const char* label;
        QByteArray path;
        bool local;
    };
    for (const Case& c : {Case{"test folder", folder.path(), true}, Case{"proc", "/proc", false},
                          Case{"sys", "/sys", false}}) {
        const int fd = ::open(c.path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(fd, 0) << c.label;
        EXPECT_EQ(OnLocalFileSystem(fd), c.local) << c.label;
        EXPECT_EQ(RenameCallsFor(fd, SystemRenameCalls()).failuresAreFinal, c.local) << c.label;
        RenameCalls replaced = SystemRenameCalls();
        replaced.finalOnLocalFileSystems = false;
        EXPECT_FALSE(RenameCallsFor(fd, replaced).failuresAreFinal) << c.label;
        ::close(fd);
    }
}

TEST(RenameNoReplace, AcceptsANameOfExactly255Bytes) {
    TempFolder folder;
    folder.write("a", "A");
    LinuxFileSystem files;
    const QByteArray longest(255, 'n');
    EXPECT_EQ(files.openFolder(folder.path())->renameNoReplace("a", longest), 0);
    EXPECT_EQ(folder.names(), QList<QByteArray>{longest});
}

TEST(RenameNoReplace, OpeningAMissingFolderGivesNothing) {
    TempFolder folder;
    LinuxFileSystem files;
    EXPECT_EQ(files.openFolder(folder.pathOf("missing")), nullptr);
}

TEST(RenameNoReplace, TheFolderStaysTheOneOpenedWhenItsPathMoves) {
    TempFolder folder;
    folder.makeFolder("one");
    folder.write("one/a", "A");
    LinuxFileSystem files;
    const std::unique_ptr<OpenFolder> open = files.openFolder(folder.pathOf("one"));
    ASSERT_EQ(::rename(folder.pathOf("one").constData(), folder.pathOf("two").constData()), 0);
    EXPECT_EQ(open->renameNoReplace("a", "b"), 0);
    EXPECT_TRUE(folder.exists("two/b"));
}

// A real folder held open as the renamer holds it, with "photo.jpg" and "PHOTO.JPG" in it: two
// files with inodes of their own, as a file system that numbers each looked-up spelling gives
// them for one file.
class SpellingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder.write("photo.jpg", "A");
        folder.write("PHOTO.JPG", "B");
        fd = ::open(folder.path().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
    }
    void TearDown() override { ::close(fd); }

    TempFolder folder;
    int fd = -1;
};

// Where the inode numbers differ, the listing decides.
struct SpellingCase {
    const char* label;
    QList<QByteArray> listed;  // what the folder's listing shows
    const char* to;
    bool same;
};

class SameEntryBySpellingTest : public SpellingTest,
                                public ::testing::WithParamInterface<SpellingCase> {};

TEST_P(SameEntryBySpellingTest, TrustsTheListingWhereInodeNumbersDiffer) {
    FolderSpellings spellings(QSet<QByteArray>(GetParam().listed.begin(), GetParam().listed.end()));
    EXPECT_EQ(SameEntryBySpelling(fd, "photo.jpg", GetParam().to, spellings), GetParam().same);
}

INSTANTIATE_TEST_SUITE_P(
    Listings, SameEntryBySpellingTest,
    ::testing::Values(SpellingCase{"OnlyTheOldSpellingListed", {"photo.jpg"}, "PHOTO.JPG", true},
                      SpellingCase{
                          "BothSpellingsListed", {"photo.jpg", "PHOTO.JPG"}, "PHOTO.JPG", false},
                      SpellingCase{"OnlyTheNewSpellingListed", {"PHOTO.JPG"}, "PHOTO.JPG", false},
                      SpellingCase{"NeitherSpellingListed", {}, "PHOTO.JPG", false},
                      SpellingCase{"NewSpellingFindsNothing", {"photo.jpg"}, "Photo.jpg", false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(SpellingTest, OnDiskTwoFilesOfOneCaseInsensitiveNameAreTwoEntries) {
    folder.write("one.jpg", "C");
    ASSERT_EQ(::link(folder.pathOf("one.jpg").constData(), folder.pathOf("ONE.JPG").constData()),
              0);
    EXPECT_FALSE(SameEntryOnDisk(fd, "photo.jpg", "PHOTO.JPG"));
    EXPECT_TRUE(SameEntryOnDisk(fd, "one.jpg", "ONE.JPG")) << "one inode under both names";
}

// The folder's spellings are read once for a pass and follow its renames.
TEST_F(SpellingTest, TheFoldersSpellingsFollowTheRenamesMadeThroughIt) {
    FolderSpellings spellings;
    EXPECT_EQ(spellings.holds(fd, "photo.jpg"), true);
    folder.write("b.jpg", "B");
    EXPECT_EQ(spellings.holds(fd, "b.jpg"), false) << "read once";
    spellings.renamed("photo.jpg", "c.jpg");
    EXPECT_EQ(spellings.holds(fd, "photo.jpg"), false);
    EXPECT_EQ(spellings.holds(fd, "c.jpg"), true);
    spellings.forget();
    EXPECT_EQ(spellings.holds(fd, "b.jpg"), true);
}

// A folder ignores case when a listed name with its letters turned leads to an entry that the
// listing does not hold under that spelling.
TEST_F(SpellingTest, AFolderIgnoresCaseWhereTheListingLacksTheTurnedName) {
    folder.write("123", "C");
    const auto entries = [](std::initializer_list<const char*> names) {
        std::vector<DirEntry> list;
        for (const char* name : names) list.push_back(DirEntry{name, QString::fromUtf8(name)});
        return list;
    };
    UnlistedNames none;
    EXPECT_FALSE(IgnoresLetterCase(fd, entries({"photo.jpg", "PHOTO.JPG"}), none));
    EXPECT_TRUE(IgnoresLetterCase(fd, entries({"photo.jpg"}), none))
        << "found under a spelling the folder does not list";
    EXPECT_FALSE(IgnoresLetterCase(fd, entries({"123"}), none)) << "no letter to turn";
    UnlistedNames other;
    other.add("PHOTO.JPG");
    EXPECT_FALSE(IgnoresLetterCase(fd, entries({"photo.jpg"}), other));
    LinuxFileSystem files;
    const std::unique_ptr<OpenFolder> open = files.openFolder(folder.path());
    ASSERT_TRUE(open->listFiles(QStringLiteral("*")));
    EXPECT_FALSE(open->ignoresCase());
}

}  // namespace
}  // namespace quillet
