#include "preview/name_table.h"

#include <gtest/gtest.h>

#include <QByteArray>

namespace quillet {
namespace {

class NameTableTest : public ::testing::TestWithParam<NameTable::Lookups> {};

// Names that share long beginnings or differ only in length are told apart, numbers follow the
// order of adding, and the table grows past what it was told to expect.
TEST_P(NameTableTest, FindsExactlyTheNamesAdded) {
    NameTable table(GetParam());
    table.reset(4);
    EXPECT_EQ(table.find("a"), -1);
    const QByteArray names[] = {"",
                                "IMG_0001.jpg",
                                "IMG_0001.jpg ",
                                "IMG_0001.jpG",
                                QByteArray(300, 'n'),
                                QByteArray(301, 'n'),
                                QByteArray("a\0b", 3)};
    int number = 0;
    for (const QByteArray& name : names) {
        EXPECT_EQ(table.add(name), std::make_pair(number, true));
        ++number;
    }
    for (int i = 0; i < 1000; ++i) table.add(QByteArray::number(i));
    EXPECT_EQ(table.size(), number + 1000);
    number = 0;
    for (const QByteArray& name : names) {
        EXPECT_EQ(table.find(name), number);
        EXPECT_EQ(table.add(name), std::make_pair(number, false));
        ++number;
    }
    EXPECT_EQ(table.find(QByteArray("a\0c", 3)), -1);
    EXPECT_EQ(table.find("IMG_0002.jpg"), -1);
    EXPECT_EQ(table.find("999"), number + 999);
    EXPECT_EQ(table.find("1000"), -1);

    table.reset(2);
    EXPECT_EQ(table.size(), 0);
    EXPECT_EQ(table.find("IMG_0001.jpg"), -1);
}

INSTANTIATE_TEST_SUITE_P(Tables, NameTableTest,
                         ::testing::Values(NameTable::Lookups::Many, NameTable::Lookups::Few),
                         [](const ::testing::TestParamInfo<NameTable::Lookups>& info) {
                             return info.param == NameTable::Lookups::Many ? "Filtered"
                                                                           : "Unfiltered";
                         });

}  // namespace
}  // namespace quillet
