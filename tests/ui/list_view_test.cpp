#include "ui/list_view.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <functional>

#include "ui/form1.h"

namespace quillet {
namespace {

QStringList Texts(const ListView& list) {
    QStringList result;
    for (int i = 1; i <= list.rowCount(); ++i) result << list.row(i).text;
    return result;
}

TEST(ListViewSort, SortsByTheChosenColumnIgnoringCaseAndKeepsTiesInOrder) {
    ListView list(QStringLiteral("LV"));
    for (const char* name : {"b2", "B1", "a9", "A0"}) {
        ListRow row;
        row.text = QString::fromUtf8(name);
        row.newName = row.text.left(1);  // sort key: the letter only, so ties abound
        list.addRow(std::move(row));
    }
    list.setSortKey(ListColumn::NewName);
    list.setSorted(true);
    EXPECT_EQ(Texts(list), (QStringList{QStringLiteral("a9"), QStringLiteral("A0"),
                                        QStringLiteral("b2"), QStringLiteral("B1")}));
    list.setSortOrder(SortOrder::Descending);
    EXPECT_EQ(Texts(list), (QStringList{QStringLiteral("b2"), QStringLiteral("B1"),
                                        QStringLiteral("a9"), QStringLiteral("A0")}));
}

TEST(ListViewSort, WritesWhileSortingIsOffNeverMoveARow) {
    ListView list(QStringLiteral("LV"));
    for (const char* name : {"c", "a", "b"}) {
        ListRow row;
        row.text = QString::fromUtf8(name);
        list.addRow(std::move(row));
    }
    list.setSortKey(ListColumn::NewName);
    list.setCell(1, ListColumn::NewName, QStringLiteral("z"));
    list.setCell(3, ListColumn::NewName, QStringLiteral("a"));
    EXPECT_EQ(Texts(list),
              (QStringList{QStringLiteral("c"), QStringLiteral("a"), QStringLiteral("b")}));
    list.setSorted(true);
    EXPECT_EQ(Texts(list),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
}

// Each hidden column is reached by name and sorts by its column number, and a row keeps the id
// it was added with wherever the sort puts it.
TEST(ListViewSort, NamedColumnsSortByTheirNumberAndRowsKeepTheirIds) {
    ListView list(QStringLiteral("LV"));
    for (const char* name : {"b", "c", "a"}) {
        ListRow row;
        row.text = QString::fromUtf8(name);
        row.exp = QStringLiteral("jpg ") + row.text;
        row.dateTime = QStringLiteral("2024-01-0") + QString::number(3 - list.rowCount());
        list.addRow(std::move(row));
    }
    EXPECT_EQ(&list.row(1).cell(ListColumn::Exp), &list.row(1).exp);
    EXPECT_EQ(&list.row(1).cell(ListColumn::DateTime), &list.row(1).dateTime);
    EXPECT_EQ(&list.row(1).cell(ListColumn::Text), &list.row(1).text);
    list.setSortKey(ListColumn::DateTime);
    list.setSorted(true);
    EXPECT_EQ(Texts(list),
              (QStringList{QStringLiteral("a"), QStringLiteral("c"), QStringLiteral("b")}));
    EXPECT_EQ(list.row(1).id, 2u);
    EXPECT_EQ(list.row(3).id, 0u);
    list.setSortKey(ListColumn::Exp);
    EXPECT_EQ(Texts(list),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    const std::uint64_t listing = list.listing();
    list.setMark(1, {RenameProblem::TooLong, 0});
    EXPECT_EQ(list.listing(), listing) << "marks and sorting leave the listing as it was";
    list.clear();
    EXPECT_NE(list.listing(), listing);
}

TEST(ListViewChanges, TheViewIsToldOncePerBatchAndGetsTheWholeRange) {
    ListView list(QStringLiteral("LV"));
    for (int i = 0; i < 5; ++i) list.addRow(ListRow{});
    int notices = 0;
    list.subscribe([&] { ++notices; });
    (void)list.takeChanges();
    for (int i = 2; i <= 4; ++i) list.setCell(i, ListColumn::NewName, QStringLiteral("x"));
    list.setChecked(5, false);
    EXPECT_EQ(notices, 1);
    const ListChanges changes = list.takeChanges();
    EXPECT_FALSE(changes.rowsReplaced);
    EXPECT_EQ(changes.firstRow, 2);
    EXPECT_EQ(changes.lastRow, 5);
    list.setSelected(1, true);
    EXPECT_EQ(notices, 2);
}

// The view draws again only the cells that changed: each change names its columns.
constexpr int kText = ColumnIndex(ListColumn::Text);
constexpr int kNewName = ColumnIndex(ListColumn::NewName);
constexpr int kSortKey = ColumnIndex(ListColumn::SortKey);

struct ColumnCase {
    const char* name;
    std::function<void(ListView&)> change;
    int firstColumn;  // ColumnIndex; -1: none
    int lastColumn;
};

class ListViewColumns : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(ListViewColumns, EachChangeNamesTheColumnsItTouches) {
    ListView list(QStringLiteral("LV"));
    for (int i = 0; i < 3; ++i) list.addRow(ListRow{});
    (void)list.takeChanges();
    GetParam().change(list);
    const ListChanges changes = list.takeChanges();
    EXPECT_EQ(changes.firstRow, 2);
    EXPECT_EQ(changes.lastRow, 2);
    EXPECT_EQ(changes.lastColumn, GetParam().lastColumn);
    if (GetParam().lastColumn >= 0) {
        EXPECT_EQ(changes.firstColumn, GetParam().firstColumn);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ListViewColumns,
    ::testing::Values(
        ColumnCase{"NewName", [](ListView& l) { l.copyNewName(2, u"a_1.jpg"); }, kNewName,
                   kNewName},
        ColumnCase{"Mark",
                   [](ListView& l) {
                       l.setMark(2, {RenameProblem::TooLong, 0});
                   },
                   kNewName, kNewName},
        ColumnCase{"CheckMark", [](ListView& l) { l.setChecked(2, false); }, kText, kText},
        ColumnCase{"DataColumn",
                   [](ListView& l) { l.setCell(2, ListColumn::SortKey, QStringLiteral("jpg")); },
                   kSortKey, kSortKey},
        ColumnCase{"CheckMarkAndNewName",
                   [](ListView& l) {
                       l.setNewName(2, QStringLiteral("b.jpg"));
                       l.setChecked(2, false);
                   },
                   kText, kNewName},
        ColumnCase{"SelectionOnly", [](ListView& l) { l.setSelected(2, true); }, -1, -1}),
    [](const ::testing::TestParamInfo<ColumnCase>& info) { return std::string(info.param.name); });

// A new name copied into the room of the old one changes only that row, and never a copy of
// the old name that someone still holds (the view, between two paints).
TEST(ListViewChanges, ACopiedNewNameChangesItsRowAloneAndNoHeldCopy) {
    ListView list(QStringLiteral("LV"));
    for (int i = 0; i < 3; ++i) list.addRow(ListRow{});
    list.setNewName(2, QStringLiteral("a_0001.jpg"));
    list.takeChanges();

    struct Step {
        const char* name;
        bool changes;
    };
    QString before = QStringLiteral("a_0001.jpg");
    for (const Step step :
         {Step{"a_0001.jpg", false}, Step{"b_1.jpg", true}, Step{"a_000000001.jpeg", true},
          Step{"", true}, Step{"", false}, Step{"c.jpg", true}}) {
        const QString held = list.row(2).newName;
        const QString name = QString::fromUtf8(step.name);
        list.copyNewName(2, name);
        EXPECT_EQ(list.row(2).newName, name);
        EXPECT_EQ(held, before) << step.name;
        before = name;
        const ListChanges changes = list.takeChanges();
        EXPECT_EQ(changes.any(), step.changes) << step.name;
        if (step.changes) {
            EXPECT_EQ(changes.firstRow, 2);
            EXPECT_EQ(changes.lastRow, 2);
        }
    }
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
