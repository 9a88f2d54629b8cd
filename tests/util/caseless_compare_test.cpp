#include "util/caseless_compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace quillet {
namespace {

int Sign(int value) {
    return (value > 0) - (value < 0);
}

TEST(CompareCaseless, OrdersExactlyAsQtsCaseInsensitiveComparison) {
    const char* texts[] = {"",
                           "a",
                           "A",
                           "b",
                           "B1",
                           "abc",
                           "ABCD",
                           "abcd.jpg",
                           "ABCE.JPG",
                           "000000000012IMG_0012.jpg",
                           "000000000012img_0012.JPG",
                           "000000000013a.jpg",
                           "Äpfel",
                           "äpfel",
                           "apfel",
                           "ÄPFELS",
                           "写真_001",
                           "写真_002",
                           "Straße",
                           "STRASSE",
                           "[x]",
                           "_x",
                           "Z",
                           "z~",
                           "ab\xef\xbf\xbd",
                           "abc\xc3\xa9z",
                           "ABC\xc3\x89Z",
                           "12345678",
                           "1234567"};
    for (const char* left : texts) {
        for (const char* right : texts) {
            const QString a = QString::fromUtf8(left), b = QString::fromUtf8(right);
            EXPECT_EQ(Sign(CompareCaseless(a, b)),
                      Sign(QString::compare(a, b, Qt::CaseInsensitive)))
                << left << " vs " << right;
        }
    }
}

// What CaselessOrder must give: a stable sort by Qt's own caseless comparison.
std::vector<std::uint32_t> ReferenceOrder(const std::vector<QString>& texts, bool descending) {
    std::vector<std::uint32_t> order(texts.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        const int comparison = QString::compare(texts[a], texts[b], Qt::CaseInsensitive);
        return descending ? comparison > 0 : comparison < 0;
    });
    return order;
}

std::vector<std::uint32_t> OrderOf(const std::vector<QString>& texts, bool descending) {
    std::vector<std::uint32_t> order =
        CaselessOrder(std::vector<QStringView>(texts.begin(), texts.end()), descending);
    if (order.empty()) {  // already in order
        order.resize(texts.size());
        std::iota(order.begin(), order.end(), 0u);
    }
    return order;
}

struct OrderCase {
    const char* title;
    std::vector<const char*> texts;
};

void PrintTo(const OrderCase& c, std::ostream* out) {
    *out << c.title;
}

class CaselessOrderTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(CaselessOrderTest, SortsStablyAsQtsCaseInsensitiveComparison) {
    std::vector<QString> texts;
    for (const char* text : GetParam().texts) texts.push_back(QString::fromUtf8(text));
    // Every arrangement matters to a sort: a few seeded shuffles of each set.
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        for (const bool descending : {false, true}) {
            EXPECT_EQ(OrderOf(texts, descending), ReferenceOrder(texts, descending))
                << (descending ? "descending" : "ascending") << ", round " << round;
        }
        std::shuffle(texts.begin(), texts.end(), random);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sets, CaselessOrderTest,
    ::testing::Values(
        OrderCase{"CameraNamesSharingAPrefix",
                  {"IMG_000010.jpg", "IMG_000002.jpg", "img_000002.JPG", "IMG_000002.jpg",
                   "IMG_0000021.jpg", "IMG_000001.jpg", "IMG_00000.jpg", "IMG_0000"}},
        OrderCase{
            "DifferencesPastThePackedCharacters",
            {"0000000000120000IMG_1.jpg", "0000000000120000IMG_2.jpg", "0000000000120000img_1.JPG",
             "0000000000120000IMG_10.jpg", "0000000000110000IMG_9.jpg"}},
        OrderCase{"DifferencesInEitherPackedWordAndPastBoth",
                  {"b_2026-05-01 beach 0001.jpg", "a_2026-05-01 beach 0002.jpg",
                   "a_2026-05-01 beach 0001.jpg", "a_2026-05-01 Beach 0001.JPG",
                   "a_2026-05-02 beach 0001.jpg", "a_2026-05-01 béach 0001.jpg", "a_2026-05-01 bé",
                   "a_2026-0é-01", "A_2026-05-01 BEACH 0001.jpg"}},
        OrderCase{"TextsEndingBeforeThePackedCharacters",
                  {"", "a", "A", "ab", "", "aB", "b", "a_", "a~", "a["}},
        OrderCase{"NonAsciiWithinThePackedCharacters",
                  {"IMG_é1.jpg", "IMG_É1.jpg", "IMG_e1.jpg", "IMG_f1.jpg", "IMG_写真.jpg",
                   "IMG_Straße", "IMG_STRASSE", "IMG_strasse", "IMG_Äpfel", "IMG_apfel"}},
        OrderCase{
            "KelvinSignFoldsToK",
            {"photo_\xe2\x84\xaa"
             "1",
             "photo_k1", "photo_K1", "photo_j1", "photo_l1", "photo_\xe2\x84\xaa", "photo_k"}},
        OrderCase{"ReplacementCharacters",
                  {"ab\xef\xbf\xbd", "ab", "abc",
                   "AB\xef\xbf\xbd"
                   "1",
                   "abz"}},
        OrderCase{"AllEqual", {"same.jpg", "SAME.jpg", "same.JPG", "same.jpg"}}),
    [](const ::testing::TestParamInfo<OrderCase>& info) { return std::string(info.param.title); });

TEST(CaselessOrder, IsEmptyWhenTheTextsAlreadyStandInOrder) {
    const QString a = QStringLiteral("IMG_0001.jpg"), b = QStringLiteral("img_0002.JPG");
    EXPECT_TRUE(CaselessOrder({a, b}, false).empty());
    EXPECT_EQ(CaselessOrder({a, b}, true), (std::vector<std::uint32_t>{1, 0}));
    EXPECT_TRUE(CaselessOrder({a}, true).empty());
    EXPECT_TRUE(CaselessOrder({}, false).empty());
}

TEST(CaselessOrder, TiesGoToTheTieBreakerBeforeTheirOrder) {
    const QString texts[] = {QStringLiteral("b.jpg"), QStringLiteral("A.jpg"),
                             QStringLiteral("B.JPG"), QStringLiteral("a.jpg")};
    const std::vector<QStringView> views(std::begin(texts), std::end(texts));
    // Ties go to the exact text, as the listing breaks them by the raw bytes.
    const auto order = CaselessOrder(
        views, false, [&](std::uint32_t a, std::uint32_t b) { return texts[a] < texts[b]; });
    EXPECT_EQ(order, (std::vector<std::uint32_t>{1, 3, 2, 0}));
}

}  // namespace
}  // namespace quillet
