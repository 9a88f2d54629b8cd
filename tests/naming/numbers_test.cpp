#include "naming/numbers.h"

#include <gtest/gtest.h>

#include <cfloat>

#include "support/test_names.h"

namespace quillet {
namespace {

struct LeadingCase {
    const char* text;
    double expected;
};

class LeadingNumberTest : public ::testing::TestWithParam<LeadingCase> {};

TEST_P(LeadingNumberTest, ReadsTheNumberAtTheStart) {
    EXPECT_DOUBLE_EQ(LeadingNumber(QString::fromUtf8(GetParam().text)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingNumberTest,
    ::testing::Values(LeadingCase{"12abc", 12}, LeadingCase{"abc", 0}, LeadingCase{"1 000", 1000},
                      LeadingCase{"", 0}, LeadingCase{"  \t\n42", 42}, LeadingCase{"-5x", -5},
                      LeadingCase{"+7", 7}, LeadingCase{"- 5", -5}, LeadingCase{"--5", 0},
                      LeadingCase{"3.25kg", 3.25}, LeadingCase{".5", 0.5}, LeadingCase{"1.", 1},
                      LeadingCase{"1e3", 1000}, LeadingCase{"1D2", 100}, LeadingCase{"2E-1", 0.2},
                      LeadingCase{"1e", 1}, LeadingCase{"1e+", 1}, LeadingCase{"1 2 . 5", 12.5},
                      LeadingCase{"&H1F", 31}, LeadingCase{"&hff", 255}, LeadingCase{"&O17", 15},
                      LeadingCase{"&O19", 1}, LeadingCase{"&X1", 0}, LeadingCase{"&", 0},
                      LeadingCase{"&HFFFFFFFF", 4294967295.0}, LeadingCase{"001", 1},
                      LeadingCase{"１２", 0}, LeadingCase{"1e400", DBL_MAX},
                      LeadingCase{"-1e400", -DBL_MAX}, LeadingCase{"1e-400", 0}),
    [](const auto& info) { return test::TestNameFrom(info.param.text); });

TEST(LeadingNumber, TenThousandDigitsSaturateInsteadOfOverflowing) {
    EXPECT_DOUBLE_EQ(LeadingNumber(QString(10000, QLatin1Char('9'))), DBL_MAX);
}

struct PadCase {
    double value;
    int width;
    const char* expected;
};

class ZeroPadTest : public ::testing::TestWithParam<PadCase> {};

TEST_P(ZeroPadTest, PadsWithoutEverCutting) {
    EXPECT_EQ(ZeroPad(GetParam().value, GetParam().width),
              QString::fromLatin1(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Values, ZeroPadTest,
    ::testing::Values(PadCase{5, 3, "005"}, PadCase{1234, 3, "1234"},
                      PadCase{0, 12, "000000000000"}, PadCase{12, 12, "000000000012"},
                      PadCase{-5, 3, "-005"}, PadCase{2.5, 1, "3"}, PadCase{-2.5, 1, "-3"},
                      PadCase{0.5, 2, "01"}, PadCase{1e15, 12, "1000000000000000"},
                      PadCase{1e20, 1, "100000000000000000000"}, PadCase{-0.4, 3, "000"}),
    [](const auto& info) {
        return test::TestNameFrom(QByteArray::number(info.param.value).toStdString() + "Width" +
                                  std::to_string(info.param.width));
    });

// Counting on writes the digits that writing each value anew gives, through every carry, every
// growth past the padding and across zero.
TEST(CountingDigits, CountsAsZeroPadWritesEachValue) {
    struct Case {
        std::int64_t start;
        int width;
    };
    for (const Case c : {Case{1, 1}, Case{1, 3}, Case{95, 2}, Case{-1010, 4}, Case{-5, 3},
                         Case{99990, 1}, Case{2147483600, 12}, Case{0, 12}}) {
        CountingDigits digits(c.start, c.width);
        for (std::int64_t value = c.start; value < c.start + 1200; ++value) {
            ASSERT_EQ(digits.value(), value);
            ASSERT_EQ(std::string(digits.text()), ZeroPadText(static_cast<double>(value), c.width))
                << "from " << c.start << " width " << c.width;
            digits.next();
        }
    }
}

TEST(CounterFrom, RoundsHalvesToEvenAndStaysInThe32BitRange) {
    EXPECT_EQ(CounterFrom(2.5), 2);
    EXPECT_EQ(CounterFrom(3.5), 4);
    EXPECT_EQ(CounterFrom(-2.5), -2);
    EXPECT_EQ(CounterFrom(1e300), 2147483647);
    EXPECT_EQ(CounterFrom(-2147483649.0), -2147483647 - 1);
}

TEST(DecimalDigits, CountsAtLeastOneDigit) {
    EXPECT_EQ(DecimalDigits(0), 1);
    EXPECT_EQ(DecimalDigits(120), 3);
    EXPECT_EQ(DecimalDigits(10000), 5);
}

}  // namespace
}  // namespace quillet
