#include "platform/linux/dos_attributes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>
#include <string>

#include "platform/linux/linux_file_system.h"
#include "platform/linux/write_bits_memo.h"
#include "platform/module1.h"
#include "support/temp_folder.h"

namespace quillet {
namespace {

using test::TempFolder;

void PutLe(QByteArray& blob, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) blob.append(static_cast<char>((value >> (8 * i)) & 0xff));
}

// A value as a file server writes it: the hex text with its NUL, padding to an even offset,
// the version twice (version and union level), padding to a multiple of four, the fields.
QByteArray ServerValue(const QByteArray& hex, std::uint16_t version,
                       const std::vector<std::pair<std::uint64_t, int>>& fields) {
    QByteArray blob = hex + '\0';
    while (blob.size() % 2) blob.append('\0');
    PutLe(blob, version, 2);
    PutLe(blob, version, 2);
    while (blob.size() % 4) blob.append('\0');
    for (const auto& [value, bytes] : fields) PutLe(blob, value, bytes);
    return blob;
}

// valid_flags, attrib, itime, create_time
QByteArray Version4(std::uint32_t valid, std::uint32_t attrib) {
    return ServerValue(
        "", 4, {{valid, 4}, {attrib, 4}, {0x01d5aabbccddeeffULL, 8}, {0x01d5112233445566ULL, 8}});
}

// valid_flags, attrib, ea_size, size, alloc_size, create_time, change_time
QByteArray Version3(const QByteArray& hex, std::uint32_t valid, std::uint32_t attrib) {
    return ServerValue(hex, 3,
                       {{valid, 4},
                        {attrib, 4},
                        {7, 4},
                        {1234, 8},
                        {4096, 8},
                        {0x0102030405060708ULL, 8},
                        {0x1112131415161718ULL, 8}});
}

// attrib, ea_size, size, alloc_size, create_time, change_time
QByteArray Version1(std::uint32_t attrib) {
    return ServerValue("0x" + QByteArray::number(attrib, 16), 1,
                       {{attrib, 4}, {0, 4}, {10, 8}, {4096, 8}, {99, 8}, {98, 8}});
}

struct ParseCase {
    QByteArray value;
    std::optional<std::uint32_t> attributes;
    const char* label;
};

class ParseDosAttribTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseDosAttribTest, ReadsTheAttributeWord) {
    EXPECT_EQ(ParseDosAttrib(GetParam().value), GetParam().attributes);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ParseDosAttribTest,
    ::testing::Values(
        ParseCase{"0x20", 0x20, "Text"}, ParseCase{QByteArray("0x22\0", 5), 0x22, "TextWithNul"},
        ParseCase{"0X7", 0x7, "TextUpperPrefix"}, ParseCase{"26", 0x26, "TextWithoutPrefix"},
        ParseCase{"0x", std::nullopt, "PrefixOnly"}, ParseCase{"0xzz", std::nullopt, "NotHex"},
        ParseCase{"0x-1", std::nullopt, "Signed"}, ParseCase{"", std::nullopt, "Empty"},
        ParseCase{Version1(0x21), 0x21, "Version1"},
        ParseCase{Version3("0x22", 0x1, 0x22), 0x22, "Version3"},
        ParseCase{Version3("0x2", 0x1, 0x2), 0x2, "Version3ShortHexText"},
        ParseCase{Version3("", 0x10, 0x22), 0, "Version3WithoutAttribute"},
        ParseCase{Version4(0x11, 0x26), 0x26, "Version4"},
        ParseCase{Version4(0x11, 0x26).left(20), std::nullopt, "Version4Truncated"},
        ParseCase{ServerValue("", 5, {{1, 4}, {0x20, 4}, {0, 8}}), std::nullopt, "Version5"},
        ParseCase{ServerValue("", 3, {}).replace(4, 1, "\x04"), std::nullopt, "LevelMismatch"}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return info.param.label; });

TEST(ReplaceDosAttrib, ChangesOnlyTheAttributeWordOfAServerValue) {
    const QByteArray before = Version4(0x10, 0x20);
    const std::optional<QByteArray> after = ReplaceDosAttrib(before, 0x22);
    ASSERT_TRUE(after);
    ASSERT_EQ(after->size(), before.size());
    EXPECT_EQ(ParseDosAttrib(*after), 0x22u);
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (i == 8 || (i >= 12 && i < 16)) continue;  // valid flags' low byte, attribute word
        EXPECT_EQ(before[i], (*after)[i]) << "byte " << i;
    }
    EXPECT_EQ((*after)[8], '\x11');  // the attribute word is now marked as set
}

TEST(ReplaceDosAttrib, KeepsTheHexTextInStepWhereItsLengthAllows) {
    EXPECT_TRUE(ReplaceDosAttrib(Version3("0x20", 1, 0x20), 0x22)->startsWith("0x22"));
    const std::optional<QByteArray> longer = ReplaceDosAttrib(Version3("0x2", 1, 0x2), 0x22);
    ASSERT_TRUE(longer);
    EXPECT_TRUE(longer->startsWith(QByteArray("0x2\0", 4)));
    EXPECT_EQ(ParseDosAttrib(*longer), 0x22u);
}

TEST(ReplaceDosAttrib, RewritesTheTextFormInItsOwnStyle) {
    EXPECT_EQ(ReplaceDosAttrib("0x20", 0x2), QByteArray("0x2"));
    EXPECT_EQ(ReplaceDosAttrib(QByteArray("0x20\0", 5), 0x26), QByteArray("0x26\0", 5));
}

TEST(ReplaceDosAttrib, LeavesAnUnknownFormAlone) {
    EXPECT_FALSE(ReplaceDosAttrib(ServerValue("", 5, {{1, 4}, {0x20, 4}, {0, 8}}), 0));
    EXPECT_FALSE(ReplaceDosAttrib("garbage", 0));
}

// Real files in a temporary folder, through the folder interface the renamer uses.
class FileAttributesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder.write("probe");
        xattrsWork = ::setxattr(folder.pathOf("probe").constData(), "user.probe", "1", 1, 0) == 0;
        open = files.openFolder(folder.path());
        ASSERT_TRUE(open);
    }

    void requireXattrs() {
        if (!xattrsWork) GTEST_SKIP() << "the temporary file system keeps no user xattrs";
    }

    void store(const QByteArray& name, const QByteArray& value) {
        ASSERT_EQ(::setxattr(folder.pathOf(name).constData(), DosAttribName, value.constData(),
                             size_t(value.size()), 0),
                  0);
    }

    std::optional<QByteArray> stored(const QByteArray& name) {
        char buffer[512];
        const ssize_t got =
            ::getxattr(folder.pathOf(name).constData(), DosAttribName, buffer, sizeof buffer);
        if (got < 0) return std::nullopt;
        return QByteArray(buffer, got);
    }

    mode_t modeOf(const QByteArray& name) {
        struct stat st;
        ::stat(folder.pathOf(name).constData(), &st);
        return st.st_mode & 07777;
    }

    TempFolder folder;
    LinuxFileSystem files;
    std::unique_ptr<OpenFolder> open;
    bool xattrsWork = false;
};

TEST_F(FileAttributesTest, APlainFileHasNoFlags) {
    folder.write("a.jpg");
    EXPECT_EQ(open->attributes("a.jpg"), 0u);
    EXPECT_EQ(files.attributes(folder.pathOf("a.jpg")), 0u);
}

TEST_F(FileAttributesTest, AMissingFileHasNone) {
    EXPECT_EQ(open->attributes("missing.jpg"), std::nullopt);
    EXPECT_EQ(files.attributes(folder.pathOf("missing.jpg")), std::nullopt);
}

TEST_F(FileAttributesTest, ADotFileIsHidden) {
    folder.write(".a.jpg");
    EXPECT_EQ(open->attributes(".a.jpg"), attr::Hidden);
}

TEST_F(FileAttributesTest, AFolderCarriesTheDirectoryBit) {
    folder.makeFolder("sub");
    EXPECT_EQ(files.attributes(folder.pathOf("sub")).value_or(0) & attr::Directory,
              attr::Directory);
}

TEST_F(FileAttributesTest, ReadOnlyRemovesEveryWriteBitAndClearingGivesThemBack) {
    requireXattrs();
    folder.write("a.jpg");
    ::chmod(folder.pathOf("a.jpg").constData(), 0666);
    EXPECT_EQ(open->setAttributes("a.jpg", attr::ReadOnly), 0);
    EXPECT_EQ(modeOf("a.jpg"), 0444u);
    EXPECT_EQ(open->attributes("a.jpg"), attr::ReadOnly);
    EXPECT_EQ(open->setAttributes("a.jpg", 0), 0);
    EXPECT_EQ(modeOf("a.jpg"), 0666u);
    EXPECT_EQ(open->attributes("a.jpg"), 0u);
}

// Setting read-only and clearing it again gives back exactly the write bits the file had. A
// file made read-only some other way, without a note, gets what "chmod +w" would: a write bit
// for each class that may read, less what the umask withholds.
struct ModeCase {
    const char* label;
    mode_t start;
    mode_t umask;
    mode_t readOnly;
    mode_t roundTrip;  // cleared after the program set read-only
    mode_t unnoted;    // cleared after "chmod a-w"
};

class ReadOnlyModeTest : public FileAttributesTest,
                         public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ReadOnlyModeTest, ClearingGivesBackTheWriteBitsTheFileHad) {
    folder.write("a.jpg");
    folder.write("b.jpg");
    ::chmod(folder.pathOf("a.jpg").constData(), GetParam().start);
    ::chmod(folder.pathOf("b.jpg").constData(), GetParam().start & ~mode_t(0222));
    const mode_t saved = ::umask(GetParam().umask);
    EXPECT_EQ(open->setAttributes("a.jpg", attr::ReadOnly), 0);
    EXPECT_EQ(modeOf("a.jpg"), GetParam().readOnly);
    EXPECT_EQ(open->setAttributes("a.jpg", 0), 0);
    EXPECT_EQ(open->setAttributes("b.jpg", 0), 0);
    ::umask(saved);
    EXPECT_EQ(modeOf("a.jpg"), xattrsWork ? GetParam().roundTrip : GetParam().unnoted);
    EXPECT_EQ(modeOf("b.jpg"), GetParam().unnoted);
    EXPECT_LT(::getxattr(folder.pathOf("a.jpg").constData(), WriteBitsNoteName, nullptr, 0), 0)
        << "the note goes with the read-only flag";
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ReadOnlyModeTest,
    ::testing::Values(ModeCase{"GroupWritableUnderUmask002", 0664, 002, 0444, 0664, 0664},
                      ModeCase{"GroupWritableUnderUmask022", 0664, 022, 0444, 0664, 0644},
                      ModeCase{"PrivateFile", 0600, 022, 0400, 0600, 0600},
                      ModeCase{"OwnerWritableOnlyUnderUmask000", 0644, 000, 0444, 0644, 0666},
                      ModeCase{"GroupReadableUnderUmask027", 0640, 027, 0440, 0640, 0640},
                      ModeCase{"EveryoneUnderUmask022", 0666, 022, 0444, 0666, 0644},
                      ModeCase{"OwnerCannotReadStillGetsWrite", 0044, 022, 0044, 0244, 0244},
                      ModeCase{"SetgidKept", 02664, 002, 02444, 02664, 02664}),
    [](const ::testing::TestParamInfo<ModeCase>& info) { return std::string(info.param.label); });

// The note is only good while the file stays as read-only left it: a mode changed since
// decides for itself.
TEST_F(FileAttributesTest, ANoteOutlivedByAChangedModeGivesNothingBack) {
    requireXattrs();
    folder.write("a.jpg");
    const QByteArray path = folder.pathOf("a.jpg");
    ::chmod(path.constData(), 0666);
    const mode_t saved = ::umask(022);
    ASSERT_EQ(open->setAttributes("a.jpg", attr::ReadOnly), 0);
    ASSERT_EQ(open->setAttributes("a.jpg", attr::ReadOnly), 0) << "read-only twice";
    ::chmod(path.constData(), 0464);  // someone gave the group write meanwhile
    EXPECT_EQ(open->setAttributes("a.jpg", 0), 0);
    EXPECT_EQ(modeOf("a.jpg"), 0664u) << "never the others' write bit of the old note";

    ASSERT_EQ(open->setAttributes("a.jpg", attr::ReadOnly), 0);  // notes 0222 & 0664
    ::chmod(path.constData(), 0644);                             // made writable outside
    EXPECT_EQ(open->setAttributes("a.jpg", attr::Archive), 0);
    ::chmod(path.constData(), 0444);  // and read-only again, outside
    EXPECT_EQ(open->setAttributes("a.jpg", 0), 0);
    ::umask(saved);
    EXPECT_EQ(modeOf("a.jpg"), 0644u) << "the old note was dropped while the file was writable";
}

// A link in the folder that leads out of it: the pass must change neither the link nor what it
// leads to, whether that is a file beside the folder or a folder elsewhere.
TEST(AttributesOfALink, NeitherTheLinkNorItsTargetIsTouched) {
    TempFolder root;
    root.makeFolder("work");
    root.write("outside.jpg", "outside");
    ::chmod(root.pathOf("outside.jpg").constData(), 0644);
    ASSERT_EQ(::symlink("../outside.jpg", root.pathOf("work/link.jpg").constData()), 0);
    LinuxFileSystem files;
    const auto open = files.openFolder(root.pathOf("work"));
    EXPECT_EQ(open->attributes("link.jpg"), std::nullopt);
    for (const std::uint32_t bits : {attr::ReadOnly, attr::Hidden | attr::Archive, 0u}) {
        EXPECT_EQ(open->setAttributes("link.jpg", bits), ELOOP);
    }
    struct stat st;
    ASSERT_EQ(::stat(root.pathOf("outside.jpg").constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
    char value[64];
    EXPECT_LT(
        ::getxattr(root.pathOf("outside.jpg").constData(), DosAttribName, value, sizeof value), 0);
    EXPECT_LT(
        ::lgetxattr(root.pathOf("work/link.jpg").constData(), DosAttribName, value, sizeof value),
        0);
    // Read through the path, as the list does, the link still shows its target's attributes.
    EXPECT_EQ(files.attributes(root.pathOf("work/link.jpg")), 0u);
}

TEST_F(FileAttributesTest, ClearingReadOnlyLeavesAnAlreadyWritableModeAlone) {
    folder.write("a.jpg");
    ::chmod(folder.pathOf("a.jpg").constData(), 0620);
    EXPECT_EQ(open->setAttributes("a.jpg", 0), 0);
    EXPECT_EQ(modeOf("a.jpg"), 0620u);
}

TEST_F(FileAttributesTest, ClearingEverythingCreatesNoStoredValue) {
    folder.write("a.jpg");
    EXPECT_EQ(open->setAttributes("a.jpg", 0), 0);
    EXPECT_FALSE(stored("a.jpg"));
}

TEST_F(FileAttributesTest, HiddenArchiveAndSystemAreStoredAsText) {
    requireXattrs();
    folder.write("a.jpg");
    EXPECT_EQ(open->setAttributes("a.jpg", attr::Hidden | attr::Archive | attr::System), 0);
    EXPECT_EQ(stored("a.jpg"), QByteArray("0x26\0", 5));
    EXPECT_EQ(open->attributes("a.jpg"), attr::Hidden | attr::Archive | attr::System);
    EXPECT_EQ(open->setAttributes("a.jpg", attr::Archive), 0);
    EXPECT_EQ(open->attributes("a.jpg"), attr::Archive);
}

// File managers read the folder's list; the other flags mean nothing to Linux programs.
TEST_F(FileAttributesTest, HiddenGoesIntoTheFoldersListButArchiveAndSystemDoNot) {
    requireXattrs();
    folder.write("a.jpg");
    folder.write("b.jpg");
    EXPECT_EQ(open->setAttributes("a.jpg", attr::Archive | attr::System), 0);
    EXPECT_FALSE(folder.exists(".hidden"));
    EXPECT_EQ(stored("a.jpg"), QByteArray("0x24\0", 5));
    EXPECT_EQ(open->setAttributes("b.jpg", attr::Hidden), 0);
    EXPECT_EQ(folder.read(".hidden"), "b.jpg\n");
    EXPECT_EQ(open->setAttributes("b.jpg", attr::Archive), 0);
    EXPECT_FALSE(folder.exists(".hidden"));
    EXPECT_EQ(open->attributes("b.jpg"), attr::Archive);
}

TEST_F(FileAttributesTest, ANameInTheFoldersListIsHidden) {
    folder.write("a.jpg");
    folder.write("b.jpg");
    folder.write(".hidden", "a.jpg\n");
    EXPECT_EQ(open->attributes("a.jpg"), attr::Hidden);
    EXPECT_EQ(open->attributes("b.jpg"), 0u);
    EXPECT_EQ(AttributeMask(files, folder.pathOf("a.jpg")), QStringLiteral("*-H-*-*"));
    EXPECT_EQ(AttributeMask(files, folder.pathOf("b.jpg")), QStringLiteral("*-*-*-*"));
    // Clearing Hidden takes the name out of a list someone else made, and keeps the list.
    EXPECT_EQ(open->setAttributes("a.jpg", 0), 0);
    EXPECT_EQ(folder.read(".hidden"), "");
    EXPECT_EQ(AttributeMask(files, folder.pathOf("a.jpg")), QStringLiteral("*-*-*-*"));
}

TEST_F(FileAttributesTest, FlagsStoredByAnotherProgramAreRead) {
    requireXattrs();
    folder.write("a.jpg");
    store("a.jpg", "0x24");
    EXPECT_EQ(open->attributes("a.jpg"), attr::Archive | attr::System);
}

TEST_F(FileAttributesTest, AServerValueKeepsItsOtherBytes) {
    requireXattrs();
    folder.write("a.jpg");
    const QByteArray before = Version3("0x820", 0x1 | 0x10, 0x820);  // archive, not indexed
    store("a.jpg", before);
    EXPECT_EQ(open->setAttributes("a.jpg", attr::Hidden), 0);
    const std::optional<QByteArray> after = stored("a.jpg");
    ASSERT_TRUE(after);
    EXPECT_EQ(ParseDosAttrib(*after), 0x802u);
    EXPECT_TRUE(after->startsWith("0x802"));
    EXPECT_EQ(after->mid(6, 10), before.mid(6, 10));  // version, level, valid flags
    EXPECT_EQ(after->mid(20), before.mid(20));        // sizes and times
    EXPECT_EQ(open->attributes("a.jpg"), attr::Hidden);
}

TEST_F(FileAttributesTest, AnUnknownStoredFormIsNeverOverwritten) {
    requireXattrs();
    folder.write("a.jpg");
    const QByteArray unknown = ServerValue("", 5, {{1, 4}, {0x20, 4}, {0, 8}});
    store("a.jpg", unknown);
    EXPECT_EQ(open->attributes("a.jpg"), 0u);
    EXPECT_NE(open->setAttributes("a.jpg", attr::Hidden | attr::ReadOnly), 0);
    EXPECT_EQ(stored("a.jpg"), unknown);
    // The mode and the folder's list of hidden names still changed.
    EXPECT_EQ(open->attributes("a.jpg"), attr::ReadOnly | attr::Hidden);
    EXPECT_EQ(folder.read(".hidden"), "a.jpg\n");
}

TEST_F(FileAttributesTest, AReadOnlyFileCanStillBeMadeHidden) {
    requireXattrs();
    folder.write("a.jpg");
    ::chmod(folder.pathOf("a.jpg").constData(), 0444);
    EXPECT_EQ(open->setAttributes("a.jpg", attr::ReadOnly | attr::Hidden), 0);
    EXPECT_EQ(open->attributes("a.jpg"), attr::ReadOnly | attr::Hidden);
    EXPECT_EQ(modeOf("a.jpg"), 0444u);
}

TEST_F(FileAttributesTest, SettingAMissingFileFails) {
    EXPECT_EQ(open->setAttributes("missing.jpg", attr::Hidden), ENOENT);
}

}  // namespace
}  // namespace quillet
