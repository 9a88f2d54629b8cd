#include "util/string_blocks.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace quillet {
namespace {

// The same checks for texts and for byte strings.
template <class Blocks, class String, class Unit>
struct Kind {
    using BlocksType = Blocks;
    using StringType = String;
    using UnitType = Unit;
};
using TextKind = Kind<TextBlocks, QString, char16_t>;
using ByteKind = Kind<ByteBlocks, QByteArray, char>;

template <class K>
class StringBlocksTest : public ::testing::Test {
  protected:
    using Blocks = typename K::BlocksType;
    using String = typename K::StringType;
    using Unit = typename K::UnitType;

    // "name-<n>" in the string's own kind, as made in the usual way.
    static String expected(int n, int length) {
        std::basic_string<Unit> text;
        for (int i = 0; i < length; ++i) text.push_back(static_cast<Unit>('a' + (n + i) % 26));
        return String(reinterpret_cast<const typename String::value_type*>(text.data()),
                      static_cast<qsizetype>(text.size()));
    }

    static String make(Blocks& blocks, int n, int length) {
        const String text = expected(n, length);
        Unit* out = blocks.room(length);
        for (int i = 0; i < length; ++i) out[i] = static_cast<Unit>(text.at(i).unicode());
        return blocks.take();
    }

    static bool terminated(const String& text) {
        return reinterpret_cast<const Unit*>(text.constData())[text.size()] == Unit(0);
    }
};

template <>
QByteArray StringBlocksTest<ByteKind>::make(ByteBlocks& blocks, int n, int length) {
    const QByteArray text = expected(n, length);
    std::copy_n(text.constData(), length, blocks.room(length));
    return blocks.take();
}

using Kinds = ::testing::Types<TextKind, ByteKind>;
TYPED_TEST_SUITE(StringBlocksTest, Kinds);

// Lengths from none to more than a block takes, so that texts are spread over many blocks and
// the longest get allocations of their own.
constexpr int kLengths[] = {0, 1, 7, 12, 40, 255, 300, 5000, 9000};

TYPED_TEST(StringBlocksTest, EveryTextOutlivesItsBlocksAndEndsInAZero) {
    std::vector<typename TestFixture::String> made;
    {
        typename TestFixture::Blocks blocks;
        for (int n = 0; n < 1000; ++n) {
            const int length = kLengths[n % std::size(kLengths)];
            made.push_back(TestFixture::make(blocks, n, length));
        }
    }
    for (int n = 0; n < 1000; ++n) {
        const int length = kLengths[n % std::size(kLengths)];
        ASSERT_EQ(made[static_cast<std::size_t>(n)], TestFixture::expected(n, length)) << n;
        ASSERT_TRUE(TestFixture::terminated(made[static_cast<std::size_t>(n)])) << n;
    }
}

TYPED_TEST(StringBlocksTest, ChangingATextLeavesItsNeighboursAlone) {
    typename TestFixture::Blocks blocks;
    std::vector<typename TestFixture::String> made;
    for (int n = 0; n < 5; ++n) made.push_back(TestFixture::make(blocks, n, 12));
    made[2].append(made[0]);
    made[2].append(made[4]);
    made[3][0] = made[4].at(1);
    made[1].resize(40);
    EXPECT_EQ(made[0], TestFixture::expected(0, 12));
    EXPECT_EQ(made[4], TestFixture::expected(4, 12));
    EXPECT_EQ(made[2], TestFixture::expected(2, 12) + TestFixture::expected(0, 12) +
                           TestFixture::expected(4, 12));
    EXPECT_EQ(made[3].mid(1), TestFixture::expected(3, 12).mid(1));
    EXPECT_EQ(made[1].left(12), TestFixture::expected(1, 12));
    for (const auto& text : made) EXPECT_TRUE(TestFixture::terminated(text));
}

// The last string of a block owns it alone and may grow in place over its dead neighbours,
// right up to the block's end.
TYPED_TEST(StringBlocksTest, TheLastTextOfABlockGrowsWithinIt) {
    for (const int keep : {0, 1, 2}) {
        std::optional<typename TestFixture::String> kept;
        {
            typename TestFixture::Blocks blocks;
            std::vector<typename TestFixture::String> made;
            for (int n = 0; n < 3; ++n) made.push_back(TestFixture::make(blocks, n, 12));
            kept = made[static_cast<std::size_t>(keep)];
        }
        const auto piece = TestFixture::expected(9, 100);
        auto wanted = TestFixture::expected(keep, 12);
        for (int round = 0; round < 800; ++round) {
            kept->append(piece);
            wanted.append(piece);
        }
        EXPECT_EQ(*kept, wanted) << keep;
        EXPECT_TRUE(TestFixture::terminated(*kept));
    }
}

TYPED_TEST(StringBlocksTest, CopiesShareTheTextAndOutliveTheOriginal) {
    typename TestFixture::String copy;
    {
        typename TestFixture::Blocks blocks;
        const auto text = TestFixture::make(blocks, 3, 20);
        copy = text;
        EXPECT_TRUE(copy.isSharedWith(text));
    }
    EXPECT_EQ(copy, TestFixture::expected(3, 20));
}

// Replacing strings of every kind (their own data, shared data, a block's, none) several times
// over, through several blocks: every text reads as written, and the strings that still share
// a replaced text keep it. The sanitizer build catches a reference dropped once too often or
// never.
TYPED_TEST(StringBlocksTest, ReplacedTextsGiveUpTheirDataAndCopiesKeepIt) {
    using String = typename TestFixture::String;
    using Unit = typename TestFixture::Unit;
    const auto units = [](const String& text) {
        return reinterpret_cast<const Unit*>(text.constData());
    };
    constexpr int kCells = 400;
    std::vector<String> cells(kCells);
    std::vector<std::pair<int, String>> copies;
    {
        typename TestFixture::Blocks earlier;
        for (int n = 0; n < kCells; ++n) {
            if (n % 3 == 0) cells[n] = TestFixture::expected(n, 12);
            if (n % 3 == 1) cells[n] = TestFixture::make(earlier, n, 12);
            if (n % 5 == 0) copies.emplace_back(n, cells[n]);
        }
    }
    {
        typename TestFixture::Blocks blocks;
        for (int round = 1; round <= 3; ++round) {
            for (int n = 0; n < kCells; ++n) {
                const int length = kLengths[(n + round) % std::size(kLengths)];
                const String text = TestFixture::expected(n * round, length);
                blocks.replace(cells[n], units(text), length);
                ASSERT_EQ(cells[n], text) << n << " in round " << round;
                ASSERT_TRUE(TestFixture::terminated(cells[n]));
            }
            if (round == 2) copies.emplace_back(-1, cells[7]);
        }
    }
    for (int n = 0; n < kCells; ++n) {
        const int length = kLengths[(n + 3) % std::size(kLengths)];
        ASSERT_EQ(cells[n], TestFixture::expected(n * 3, length)) << n;
    }
    for (const auto& [n, copy] : copies) {
        const String wanted = n < 0        ? TestFixture::expected(14, kLengths[(7 + 2) % 9])
                              : n % 3 == 2 ? String()
                                           : TestFixture::expected(n, 12);
        EXPECT_EQ(copy, wanted) << n;
    }
}

}  // namespace
}  // namespace quillet
