#include "platform/linux/linux_file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/temp_folder.h"

namespace quillet {
namespace {

using test::TempFolder;

QList<QByteArray> NamesOf(const std::optional<std::vector<DirEntry>>& entries) {
    QList<QByteArray> names;
    if (entries) {
        for (const DirEntry& entry : *entries) names.push_back(entry.rawName);
    }
    return names;
}

// A folder with files that patterns must pick out and entries that are never listed.
class ListingFolder {
  public:
    ListingFolder() {
        for (const char* name : {"noext", "e.Bmp", "d.gif", "c.jpeg", "B.JPG", "a.jpg"}) {
            folder.write(name, name);
        }
        folder.write(".hidden.jpg");
        folder.makeFolder("folder.jpg");
        ::mkfifo(folder.pathOf("fifo.jpg").constData(), 0644);
        ::symlink("a.jpg", folder.pathOf("link.jpg").constData());
        ::symlink("missing.jpg", folder.pathOf("dangling.jpg").constData());
        ::symlink("folder.jpg", folder.pathOf("dirlink.jpg").constData());
    }
    TempFolder folder;
};

struct PatternCase {
    QString patterns;
    QList<QByteArray> expected;
    const char* label;
};

class ListFilesTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(ListFilesTest, ListsMatchingRegularFilesInNameOrder) {
    ListingFolder listing;
    LinuxFileSystem files;
    EXPECT_EQ(NamesOf(files.listFiles(listing.folder.path(), GetParam().patterns)),
              GetParam().expected);
}

const QList<QByteArray> everyFile{"a.jpg", "B.JPG",    "c.jpeg", "d.gif",
                                  "e.Bmp", "link.jpg", "noext"};

INSTANTIATE_TEST_SUITE_P(
    Patterns, ListFilesTest,
    ::testing::Values(
        PatternCase{
            QStringLiteral("*.jpg;*.jpeg"), {"a.jpg", "B.JPG", "c.jpeg", "link.jpg"}, "JpegTypes"},
        PatternCase{QStringLiteral("*.JPG"), {"a.jpg", "B.JPG", "link.jpg"}, "IgnoresCase"},
        PatternCase{QStringLiteral(" *.gif ; "), {"d.gif"}, "TrimsBlanks"},
        PatternCase{QStringLiteral("*.gif;;*.bmp"), {"d.gif", "e.Bmp"}, "SkipsEmptyParts"},
        PatternCase{QStringLiteral("?.bmp"), {"e.Bmp"}, "QuestionMark"},
        PatternCase{QStringLiteral("*.*"), everyFile, "StarDotStarTakesNamesWithoutDot"},
        PatternCase{QStringLiteral("*.png;*.*"), everyFile, "StarDotStarInAList"},
        PatternCase{QString(), everyFile, "EmptyTakesAll"},
        PatternCase{QStringLiteral(" ; ;"), everyFile, "BlankPartsTakeAll"},
        PatternCase{QStringLiteral("noext"), {"noext"}, "PlainName"},
        PatternCase{QStringLiteral("*.png"), {}, "NothingMatches"},
        PatternCase{QStringLiteral("["), {}, "BrokenBracket"},
        PatternCase{QStringLiteral("*.hidden.jpg;.*"), {}, "DotFilesNeverListed"}),
    [](const ::testing::TestParamInfo<PatternCase>& info) { return info.param.label; });

TEST(ListFiles, KeepsNamesThatAreNotUtf8AndMatchesThemUnderAUtf8Locale) {
    TempFolder folder;
    folder.write("\xff\xfe.JPG");
    folder.write("\xc3\x89t\xc3\xa9.jpg");  // "Été.jpg", valid UTF-8
    folder.write("z.gif");
    const char* previous = ::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    ::setlocale(LC_ALL, "C.UTF-8");
    LinuxFileSystem files;
    const auto entries = files.listFiles(folder.path(), QStringLiteral("*.jpg"));
    ::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(NamesOf(entries), (QList<QByteArray>{"\xc3\x89t\xc3\xa9.jpg", "\xff\xfe.JPG"}));
}

TEST(ListFiles, GivesEachNameAsTheTextItsBytesDecodeTo) {
    TempFolder folder;
    const QList<QByteArray> names{"IMG_0001.JPG", "\xc3\x89t\xc3\xa9.jpg", "plain_then_\xff",
                                  "\xe5\x86\x99\xe7\x9c\x9f_007.jpg", "\xfe\xff"};
    for (const QByteArray& name : names) folder.write(name);
    LinuxFileSystem files;
    const auto entries = files.listFiles(folder.path(), QString());
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), static_cast<std::size_t>(names.size()));
    for (const DirEntry& entry : *entries)
        EXPECT_EQ(entry.name, QString::fromUtf8(entry.rawName)) << entry.rawName.toHex().data();
}

TEST(ListFiles, OrdersWithoutRegardToCaseAndBreaksTiesByBytes) {
    TempFolder folder;
    for (const char* name : {"b10.jpg", "a.jpg", "B2.jpg", "A.jpg", "_x.jpg", "Z.jpg"}) {
        folder.write(name);
    }
    LinuxFileSystem files;
    EXPECT_EQ(NamesOf(files.listFiles(folder.path(), QStringLiteral("*.jpg"))),
              (QList<QByteArray>{"_x.jpg", "A.jpg", "a.jpg", "b10.jpg", "B2.jpg", "Z.jpg"}));
}

TEST(ListFiles, GivesEachFileItsModificationTime) {
    TempFolder folder;
    folder.write("a.jpg");
    const struct timespec times[2] = {{1000000000, 0}, {1234567890, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, folder.pathOf("a.jpg").constData(), times, 0), 0);
    LinuxFileSystem files;
    const auto entries = files.listFiles(folder.path(), QStringLiteral("*.*"));
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 1u);
    EXPECT_TRUE(entries->front().modifiedKnown);
    EXPECT_EQ(entries->front().modifiedSeconds, 1234567890);
    EXPECT_EQ(files.modifiedSeconds(folder.pathOf("a.jpg")), 1234567890);
}

TEST(ListFiles, AFolderThatCannotBeReadGivesNothing) {
    TempFolder folder;
    folder.write("file");
    LinuxFileSystem files;
    EXPECT_FALSE(files.listFiles(folder.pathOf("missing"), QStringLiteral("*.*")));
    EXPECT_FALSE(files.listFiles(folder.pathOf("file"), QStringLiteral("*.*")));
    const auto empty = files.listFiles(folder.path(), QStringLiteral("*.jpg"));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

TEST(StoredName, NamesTheEntryAsStored) {
    TempFolder folder;
    folder.makeFolder("Photos");
    folder.write("Photos/\xe9t\xe9.JPG");
    LinuxFileSystem files;
    EXPECT_EQ(files.storedName(folder.pathOf("Photos")), QByteArray("Photos"));
    EXPECT_EQ(files.storedName(folder.pathOf("Photos/\xe9t\xe9.JPG")), QByteArray("\xe9t\xe9.JPG"));
    EXPECT_EQ(files.storedName(folder.pathOf("Photos/..")), QByteArray(".."));
    EXPECT_EQ(files.storedName("/"), std::nullopt);
    EXPECT_EQ(files.storedName(folder.pathOf("Photos/")), std::nullopt);
    EXPECT_EQ(files.storedName(folder.pathOf("missing")), std::nullopt);
    EXPECT_EQ(files.storedName(QByteArray()), std::nullopt);
}

TEST(StoredName, FindsADanglingLinkItself) {
    TempFolder folder;
    ::symlink("missing", folder.pathOf("link").constData());
    LinuxFileSystem files;
    EXPECT_EQ(files.storedName(folder.pathOf("link")), QByteArray("link"));
}

TEST(CurrentDirectory, FollowsAChangeAndRefusesAMissingFolder) {
    TempFolder folder;
    folder.makeFolder("\xe9t\xe9");
    LinuxFileSystem files;
    const QByteArray before = files.currentDirectory();
    ASSERT_FALSE(before.isEmpty());
    ASSERT_TRUE(files.setCurrentDirectory(folder.pathOf("\xe9t\xe9")));
    const QByteArray inside = files.currentDirectory();
    EXPECT_FALSE(files.setCurrentDirectory(folder.pathOf("missing")));
    EXPECT_EQ(files.currentDirectory(), inside);
    ASSERT_TRUE(files.setCurrentDirectory(before));
    EXPECT_TRUE(inside.endsWith("/\xe9t\xe9"));
}

TEST(WriteFile, CreatesAndReplacesWithTheGivenMode) {
    TempFolder folder;
    LinuxFileSystem files;
    ASSERT_TRUE(files.writeFile(folder.pathOf("x.desktop"), "first\nlonger", 0755));
    ASSERT_TRUE(files.writeFile(folder.pathOf("x.desktop"), "second", 0644));
    EXPECT_EQ(folder.read("x.desktop"), "second");
    struct stat st;
    ASSERT_EQ(::stat(folder.pathOf("x.desktop").constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
    ASSERT_TRUE(files.writeFile(folder.pathOf("x.desktop"), "third", 0755));
    ASSERT_EQ(::stat(folder.pathOf("x.desktop").constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0755u);
    EXPECT_FALSE(files.writeFile(folder.pathOf("missing/x.desktop"), "x", 0644));
}

TEST(RemoveFileAndIsDirectory, TellFilesFromFolders) {
    TempFolder folder;
    folder.write("a");
    folder.makeFolder("sub");
    LinuxFileSystem files;
    EXPECT_TRUE(files.isDirectory(folder.pathOf("sub")));
    EXPECT_FALSE(files.isDirectory(folder.pathOf("a")));
    EXPECT_FALSE(files.isDirectory(folder.pathOf("missing")));
    EXPECT_TRUE(files.removeFile(folder.pathOf("a")));
    EXPECT_FALSE(files.removeFile(folder.pathOf("a")));
    EXPECT_FALSE(files.removeFile(folder.pathOf("sub")));
    EXPECT_EQ(folder.names(), QList<QByteArray>{"sub"});
    EXPECT_EQ(files.modifiedSeconds(folder.pathOf("a")), std::nullopt);
}

}  // namespace
}  // namespace quillet
