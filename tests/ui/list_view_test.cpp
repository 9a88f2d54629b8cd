#include "ui/list_view.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace quillet {
namespace {

QStringList texts(const ListView& list) {
    QStringList result;
    for (int i = 1; i <= list.rowCount(); ++i) result << list.row(i).text;
    return result;
}

TEST(ListViewSort, SortsByTheChosenColumnIgnoringCaseAndKeepsTiesInOrder) {
    ListView list(QStringLiteral("LV"));
    for (const char* name : {"b2", "B1", "a9", "A0"}) {
        ListRow row;
        row.text = QString::fromUtf8(name);
        row.subItems[0] = row.text.left(1);  // sort key: the letter only, so ties abound
        list.addRow(std::move(row));
    }
    list.setSortKey(1);
    list.setSorted(true);
    EXPECT_EQ(texts(list), (QStringList{QStringLiteral("a9"), QStringLiteral("A0"),
                                        QStringLiteral("b2"), QStringLiteral("B1")}));
    list.setSortOrder(SortOrder::Descending);
    EXPECT_EQ(texts(list), (QStringList{QStringLiteral("b2"), QStringLiteral("B1"),
                                        QStringLiteral("a9"), QStringLiteral("A0")}));
}

TEST(ListViewSort, WritesWhileSortingIsOffNeverMoveARow) {
    ListView list(QStringLiteral("LV"));
    for (const char* name : {"c", "a", "b"}) {
        ListRow row;
        row.text = QString::fromUtf8(name);
        list.addRow(std::move(row));
    }
    list.setSortKey(1);
    list.setSubItem(1, 1, QStringLiteral("z"));
    list.setSubItem(3, 1, QStringLiteral("a"));
    EXPECT_EQ(texts(list),
              (QStringList{QStringLiteral("c"), QStringLiteral("a"), QStringLiteral("b")}));
    list.setSorted(true);
    EXPECT_EQ(texts(list),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
}

TEST(ListViewChanges, TheViewIsToldOncePerBatchAndGetsTheWholeRange) {
    ListView list(QStringLiteral("LV"));
    for (int i = 0; i < 5; ++i) list.addRow(ListRow{});
    int notices = 0;
    list.subscribe([&] { ++notices; });
    (void)list.takeChanges();
    for (int i = 2; i <= 4; ++i) list.setSubItem(i, 1, QStringLiteral("x"));
    list.setChecked(5, false);
    EXPECT_EQ(notices, 1);
    const ListChanges changes = list.takeChanges();
    EXPECT_FALSE(changes.rowsReplaced);
    EXPECT_EQ(changes.firstRow, 2);
    EXPECT_EQ(changes.lastRow, 5);
    list.setSelected(1, true);
    EXPECT_EQ(notices, 2);
}

TEST(ListViewChanges, UsersCheckClickRaisesItemCheckAfterTheMarkChanged) {
    ListView list(QStringLiteral("LV"));
    list.addRow(ListRow{});
    bool seenChecked = true;
    list.ItemCheck = [&](int row) { seenChecked = list.row(row).checked; };
    list.userSetChecked(1, false);
    EXPECT_FALSE(seenChecked);
}

}  // namespace
}  // namespace quillet
