#include "filelist/name_keys.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <cctype>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "naming/numbers.h"
#include "support/test_names.h"

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
    const QString extensionKey = parts.extension.left(10).toString() +
                                 QString(c.blanksAfterExtension, QLatin1Char(' ')) + name;
    const QString numberKey = ZeroPad(key.value, 12) + name;
    EXPECT_EQ(ExtensionSortKey(parts.extension, name), extensionKey);
    EXPECT_EQ(NumberSortKey(key.value, name), numberKey);
    // The same keys written side by side in shared blocks, as the list makes them.
    TextBlocks blocks;
    const QString inBlocks[] = {ExtensionSortKey(parts.extension, name, &blocks),
                                NumberSortKey(key.value, name, &blocks),
                                ExtensionSortKey(parts.extension, name, &blocks)};
    EXPECT_EQ(inBlocks[0], extensionKey);
    EXPECT_EQ(inBlocks[1], numberKey);
    EXPECT_EQ(inBlocks[2], extensionKey);
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
                      KeyCase{"写真_007.JPG", "写真_007", "JPG", "写真_", 7, 7}),
    [](const auto& info) { return test::TestNameFrom(info.param.name); });

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

// Runs the test in another time zone, and puts the pinned one back after it.
class InTimeZone {
  public:
    explicit InTimeZone(const char* zone) {
        setenv("TZ", zone, 1);
        tzset();
    }
    ~InTimeZone() {
        setenv("TZ", "UTC", 1);
        tzset();
    }
};

class ModificationTimeTextsTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ModificationTimeTextsTest, WriteEveryTimeAsTheCLibraryGivesIt) {
    const InTimeZone zone(GetParam());
    ModificationTimeTexts texts;
    std::vector<std::int64_t> times = {0,
                                       -1,
                                       86399,
                                       -86401,
                                       951782400,     // 2000-02-29
                                       -2208988800,   // 1900-01-01
                                       253402300799,  // the last second of 9999
                                       253402300800,
                                       -62167219201,  // before year 0
                                       std::numeric_limits<std::int64_t>::max(),
                                       std::numeric_limits<std::int64_t>::min()};
    // Two years with their changes of offset, every half hour or so, and every second
    // around a change.
    long previousOffset = 0;
    for (std::int64_t t = 1293840000; t < 1356998400; t += 1799) {  // 2011 and 2012
        times.push_back(t);
        const time_t seconds = static_cast<time_t>(t);
        struct tm local {};
        localtime_r(&seconds, &local);
        if (t != 1293840000 && local.tm_gmtoff != previousOffset) {
            for (std::int64_t near = t - 1900; near < t + 100; ++near) times.push_back(near);
        }
        previousOffset = local.tm_gmtoff;
    }
    TextBlocks blocks;
    for (const std::int64_t t : times) {
        ASSERT_EQ(texts.of(t), ModificationTimeText(t)) << GetParam() << " at " << t;
        ASSERT_EQ(texts.of(t, &blocks), ModificationTimeText(t)) << GetParam() << " at " << t;
    }
}

INSTANTIATE_TEST_SUITE_P(Zones, ModificationTimeTextsTest,
                         ::testing::Values("UTC", "Asia/Tokyo", "Europe/Berlin", "America/New_York",
                                           "America/St_Johns", "Australia/Lord_Howe",
                                           "Asia/Kathmandu", "Pacific/Apia", "right/Europe/London",
                                           "CET-1CEST,M3.5.0,M10.5.0/3"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name;
                             for (const char* c = info.param; *c; ++c)
                                 name += (std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_');
                             return name;
                         });

}  // namespace
}  // namespace quillet
