#include "filelist/name_keys.h"

#include <gtest/gtest.h>

#include "naming/numbers.h"

namespace quillet {
namespace {

struct KeyCase {
    const char* name;
    const char* base;
    const char* extension;
    const char* oldFile;
    double number;
    int blanksAfterExtension;
};

class NameKeysTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(NameKeysTest, SplitsTheNameIntoItsKeys) {
    const KeyCase& c = GetParam();
    const QString name = QString::fromUtf8(c.name);
    const NameParts parts = SplitName(name);
    EXPECT_EQ(parts.base.toString(), QString::fromUtf8(c.base));
    EXPECT_EQ(parts.extension.toString(), QString::fromUtf8(c.extension));
    const NumberKey key = ReadNumberKey(parts.base);
    EXPECT_EQ(key.originalPrefix.toString(), QString::fromUtf8(c.oldFile));
    EXPECT_DOUBLE_EQ(key.value, c.number);
    EXPECT_EQ(ExtensionSortKey(parts.extension, name),
              parts.extension.left(10).toString() +
                  QString(c.blanksAfterExtension, QLatin1Char(' ')) + name);
    EXPECT_EQ(NumberSortKey(key.value, name), ZeroPad(key.value, 12) + name);
}

INSTANTIATE_TEST_SUITE_P(
    Names, NameKeysTest,
    ::testing::Values(KeyCase{"IMG_0012.jpg", "IMG_0012", "jpg", "IMG_", 12, 7},
                      KeyCase{"photo.jpeg", "photo", "jpeg", "photo", 0, 6},
                      KeyCase{"0012.jpg", "0012", "jpg", "", 12, 7},
                      KeyCase{"a12.gif", "a12", "gif", "a", 12, 7},
                      KeyCase{"2023.05.01.jpg", "2023.05.01", "jpg", "2023.05.", 1, 7},
                      KeyCase{"README", "README", "", "README", 0, 7},
                      KeyCase{"archive.tar.gz", "archive.tar", "gz", "archive.tar", 0, 7},
                      KeyCase{"x.", "x", "", "x", 0, 7},
                      KeyCase{"12abc.jpg", "12abc", "jpg", "12abc", 12, 7},
                      KeyCase{"5.jpg", "5", "jpg", "5", 5, 7}, KeyCase{".jpg", "", "jpg", "", 0, 7},
                      KeyCase{"a.verylongextension", "a", "verylongextension", "a", 0, 0},
                      KeyCase{"写真_007.JPG", "写真_007", "JPG", "写真_", 7, 7}));

TEST(NameKeys, OnlyPrefixesOfTwoCharactersOrMoreAreProposed) {
    EXPECT_TRUE(ReadNumberKey(u"IMG_1").proposesPrefix);
    EXPECT_FALSE(ReadNumberKey(u"a1").proposesPrefix);
    EXPECT_FALSE(ReadNumberKey(u"0012").proposesPrefix);
    EXPECT_FALSE(ReadNumberKey(u"photo").proposesPrefix);
}

TEST(NameKeys, ModificationTimeTextSortsLikeTime) {
    EXPECT_EQ(ModificationTimeText(0), QStringLiteral("1970-01-01 00:00:00"));
    EXPECT_EQ(ModificationTimeText(1700000000), QStringLiteral("2023-11-14 22:13:20"));
    EXPECT_LT(ModificationTimeText(999999999), ModificationTimeText(1000000000));
}

}  // namespace
}  // namespace quillet
