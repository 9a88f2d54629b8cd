#include "util/caseless_compare.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

int sign(int value) {
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
            EXPECT_EQ(sign(CompareCaseless(a, b)),
                      sign(QString::compare(a, b, Qt::CaseInsensitive)))
                << left << " vs " << right;
        }
    }
}

}  // namespace
}  // namespace quillet
