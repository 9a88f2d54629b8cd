#include "view/file_list_model.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QIcon>
#include <functional>
#include <vector>

#include "preview/rename_preview.h"
#include "support/window_harness.h"
#include "util/file_name_text.h"
#include "window_fixture.h"

namespace quillet {
namespace {

ListRow MakeRow(const char* name, const char* newName, bool blue) {
    ListRow row;
    row.text = QString::fromUtf8(name);
    row.newName = QString::fromUtf8(newName);
    for (int column = ColumnIndex(ListColumn::OldFile); column < kListColumns; ++column)
        row.cell(static_cast<ListColumn>(column)) = QStringLiteral("hidden%1").arg(column);
    row.newNameBlue = blue;
    return row;
}

class FileListModelTest : public ::testing::Test {
  protected:
    FileListModelTest() {
        list.setColumnHeader(ListColumn::Text, QString::fromUtf8("元のファイル名"));
        list.setColumnHeader(ListColumn::NewName, QString::fromUtf8("新しいファイル名"));
        list.setColumnHeader(ListColumn::OldFile, QStringLiteral("oldfile"));
        list.addRow(MakeRow("IMG_0001.jpg", "a001.jpg", false));
        list.addRow(MakeRow("IMG_0002.jpg", "a002.jpg", true));
        list.addRow(MakeRow("IMG_0003.jpg", "", false));
        model.apply();
        QObject::connect(&model, &QAbstractItemModel::dataChanged,
                         [this](const QModelIndex& from, const QModelIndex& to) {
                             changed.emplace_back(from.row(), to.row());
                         });
        QObject::connect(&model, &QAbstractItemModel::modelReset, [this] { ++resets; });
    }

    QVariant cell(int row, int column, int role = Qt::DisplayRole) const {
        return model.data(model.index(row, column), role);
    }

    ListView list{QStringLiteral("LV")};
    FileListModel model{list};
    std::vector<std::pair<int, int>> changed;
    int resets = 0;
};

TEST_F(FileListModelTest, ShowsTheNameAndTheNewNameOnlyWithTheListsHeaders) {
    EXPECT_EQ(model.columnCount(), 2);
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              QString::fromUtf8("元のファイル名"));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
              QString::fromUtf8("新しいファイル名"));
    EXPECT_FALSE(model.headerData(2, Qt::Horizontal, Qt::DisplayRole).isValid());
    EXPECT_EQ(cell(1, 0).toString(), QStringLiteral("IMG_0002.jpg"));
    EXPECT_EQ(cell(1, 1).toString(), QStringLiteral("a002.jpg"));
    EXPECT_FALSE(model.index(0, 2).isValid()) << "a data column must never reach the screen";
}

// Item views lay out every row again on a header change, so a list that only changed its rows
// must not announce one.
TEST_F(FileListModelTest, HeadersAreAnnouncedOnlyWhenTheirTextsChange) {
    std::vector<std::pair<int, int>> announced;
    QObject::connect(
        &model, &QAbstractItemModel::headerDataChanged,
        [&](Qt::Orientation, int first, int last) { announced.emplace_back(first, last); });
    model.refreshHeaders();  // the headers were written after the model was made
    EXPECT_EQ(announced.size(), 1u);
    for (int row = 1; row <= 3; ++row)
        list.setCell(row, ListColumn::NewName, QStringLiteral("p.jpg"));
    model.refreshHeaders();
    list.setColumnHeader(ListColumn::OldFile, QStringLiteral("hidden"));  // a column no view shows
    model.refreshHeaders();
    EXPECT_EQ(announced.size(), 1u);
    list.setColumnHeader(ListColumn::NewName, QString::fromUtf8("新しい名前"));
    model.refreshHeaders();
    ASSERT_EQ(announced.size(), 2u);
    EXPECT_EQ(announced[1], std::make_pair(0, 1));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
              QString::fromUtf8("新しい名前"));
}

TEST_F(FileListModelTest, CheckBoxOnlyInTheFirstColumnAndBlueOnlyWhereTheRowSaysSo) {
    EXPECT_EQ(cell(0, 0, Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
    EXPECT_FALSE(cell(0, 1, Qt::CheckStateRole).isValid());
    EXPECT_TRUE(model.flags(model.index(0, 0)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(model.flags(model.index(0, 1)) & Qt::ItemIsUserCheckable);
    EXPECT_EQ(cell(1, 1, Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));
    EXPECT_FALSE(cell(0, 1, Qt::ForegroundRole).isValid());
    EXPECT_FALSE(cell(1, 0, Qt::ForegroundRole).isValid());
}

TEST_F(FileListModelTest, AMarkedRowShowsTheWarningIconBesideItsBlueNameAndTellsWhy) {
    // The rows' tool tips come from the behaviour, as the wiring gives them to the list.
    list.setRowToolTips([this](int row) { return RenameProblemText(list.row(row)); });
    list.setMark(2, {RenameProblem::TakenInFolder, 0});
    model.apply();
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0], std::make_pair(1, 1));

    const QIcon icon = cell(1, 1, Qt::DecorationRole).value<QIcon>();
    EXPECT_FALSE(icon.isNull());
    EXPECT_FALSE(cell(1, 0, Qt::DecorationRole).isValid()) << "the mark is on the new name";
    EXPECT_FALSE(cell(0, 1, Qt::DecorationRole).isValid());
    EXPECT_EQ(cell(1, 1, Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));
    const QString reason = cell(1, 1, Qt::ToolTipRole).toString();
    EXPECT_TRUE(
        reason.contains(QString::fromUtf8("「a002.jpg」という名前のファイルがフォルダに既にある")))
        << reason.toStdString();
    EXPECT_EQ(cell(1, 0, Qt::ToolTipRole).toString(), reason);
    EXPECT_TRUE(cell(0, 1, Qt::ToolTipRole).toString().isEmpty());

    list.setMark(2, {});
    model.apply();
    EXPECT_FALSE(cell(1, 1, Qt::DecorationRole).isValid());
}

// The marks reach the list's item model from the naming pass, with no view in between.
TEST(FileListModelMarks, ASwapIsMarkedOnBothRowsUntilOneIsUnchecked) {
    test::WindowHarness harness;
    harness.photos.write("2.jpg");
    harness.photos.write("1.jpg");
    harness.startOnPhotos();
    Form1& f = harness.form();
    f.Check2.setValue(1);  // 2.jpg first: it becomes 1.jpg, 1.jpg becomes 2.jpg
    ASSERT_EQ(f.LV.row(1).text, QStringLiteral("2.jpg"));
    ASSERT_EQ(f.LV.row(1).newName, QStringLiteral("1.jpg"));
    FileListModel model(f.LV);
    for (int row = 0; row < 2; ++row) {
        EXPECT_FALSE(model.data(model.index(row, 1), Qt::DecorationRole).value<QIcon>().isNull())
            << row;
        EXPECT_FALSE(model.data(model.index(row, 1), Qt::ToolTipRole).toString().isEmpty());
    }
    EXPECT_TRUE(model.setData(model.index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
    model.apply();
    // 2.jpg alone is now renamed to 1.jpg, which the unchecked file keeps.
    EXPECT_FALSE(model.data(model.index(0, 1), Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_FALSE(model.data(model.index(1, 1), Qt::DecorationRole).isValid());
}

TEST_F(FileListModelTest, UsersCheckBoxGoesToTheListAndRaisesItemCheck) {
    std::vector<int> raised;
    list.ItemCheck = [&](int row) { raised.push_back(row); };
    EXPECT_TRUE(model.setData(model.index(2, 0), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_FALSE(list.row(3).checked);
    EXPECT_EQ(raised, std::vector<int>{3});
    EXPECT_FALSE(model.setData(model.index(2, 1), Qt::Checked, Qt::CheckStateRole));
    EXPECT_FALSE(list.row(3).checked);
}

TEST_F(FileListModelTest, AWholePassOfRowChangesIsOneSignal) {
    for (int row = 3; row >= 2; --row)
        list.setCell(row, ListColumn::NewName, QStringLiteral("b%1").arg(row));
    list.setChecked(2, false);
    model.apply();
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0], std::make_pair(1, 2));
    EXPECT_EQ(resets, 0);
    model.apply();
    EXPECT_EQ(changed.size(), 1u) << "nothing changed since";
}

// A naming pass draws the new names again, and not the check boxes and names beside them.
TEST_F(FileListModelTest, OnlyTheShownColumnsThatChangedAreAnnounced) {
    std::vector<std::pair<int, int>> columns;
    QObject::connect(&model, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& from, const QModelIndex& to) {
                         columns.emplace_back(from.column(), to.column());
                     });
    const struct {
        const char* name;
        std::function<void()> change;
        std::vector<std::pair<int, int>> announced;
    } cases[] = {
        {"new names",
         [this] {
             for (int row = 1; row <= 3; ++row) list.copyNewName(row, u"n.jpg");
         },
         {{1, 1}}},
        {"check mark", [this] { list.setChecked(2, false); }, {{0, 0}}},
        {"both",
         [this] {
             list.setChecked(2, true);
             list.setNewName(3, QStringLiteral("m.jpg"));
         },
         {{0, 1}}},
        {"data column",
         [this] { list.setCell(1, ListColumn::Expantion, QStringLiteral("time")); },
         {}},
        {"selection", [this] { list.setSelected(1, true); }, {}},
    };
    for (const auto& step : cases) {
        columns.clear();
        step.change();
        model.apply();
        EXPECT_EQ(columns, step.announced) << step.name;
    }
}

TEST_F(FileListModelTest, ReplacedRowsResetTheViewsOnceAndStaleRowsReadEmpty) {
    list.clear();
    // Until the views are told, they may still ask for rows the list no longer has.
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_FALSE(cell(2, 0).isValid());
    EXPECT_FALSE(cell(2, 0, Qt::CheckStateRole).isValid());
    for (int i = 0; i < 5; ++i) list.addRow(MakeRow("x.jpg", "y.jpg", false));
    model.apply();
    EXPECT_EQ(resets, 1);
    EXPECT_TRUE(changed.empty());
    EXPECT_EQ(model.rowCount(), 5);
}

// Re-sorts of the same rows between two looks of the view, by the new name (column 2).
struct ReSortCase {
    const char* name;
    std::vector<SortOrder> sorts;
    std::vector<const char*> shown;  // the names in their new order
};

class FileListReSort : public FileListModelTest,
                       public ::testing::WithParamInterface<ReSortCase> {};

// A re-sort keeps the rows, so the views are told they moved, not that they were replaced: what
// they hold of a row (its selection, the current row) stays with that row in its new place.
TEST_P(FileListReSort, MovesTheRowsWithoutAResetAndWhatTheViewsHoldFollowsThem) {
    int layoutChanges = 0;
    QObject::connect(&model, &QAbstractItemModel::layoutChanged, [&] { ++layoutChanges; });
    std::vector<QPersistentModelIndex> held;
    for (int row = 0; row < 3; ++row) held.emplace_back(model.index(row, row % 2));
    list.setSortKey(ListColumn::NewName);
    for (const SortOrder order : GetParam().sorts) {
        list.setSortOrder(order);
        list.setSorted(true);
        list.setSorted(false);
    }
    const ListChanges changes = model.apply();
    EXPECT_FALSE(changes.rowsReplaced);
    EXPECT_EQ(resets, 0);
    EXPECT_EQ(layoutChanges, 1) << "any number of sorts is one move for the views";
    std::vector<const char*> expected = GetParam().shown;
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(cell(row, 0).toString(), QString::fromUtf8(expected[static_cast<size_t>(row)]));
    const char* const names[] = {"IMG_0001.jpg", "IMG_0002.jpg", "IMG_0003.jpg"};
    for (int was = 0; was < 3; ++was) {
        ASSERT_TRUE(held[static_cast<size_t>(was)].isValid()) << was;
        EXPECT_EQ(held[static_cast<size_t>(was)].column(), was % 2);
        EXPECT_EQ(model.index(held[static_cast<size_t>(was)].row(), 0).data().toString(),
                  QString::fromUtf8(names[was]))
            << "the index held on row " << was << " went to another row";
    }
    EXPECT_TRUE(changed.empty()) << "no row's content changed";
}

INSTANTIATE_TEST_SUITE_P(
    Sorts, FileListReSort,
    ::testing::Values(
        ReSortCase{
            "Ascending", {SortOrder::Ascending}, {"IMG_0003.jpg", "IMG_0001.jpg", "IMG_0002.jpg"}},
        ReSortCase{"Descending",
                   {SortOrder::Descending},
                   {"IMG_0002.jpg", "IMG_0001.jpg", "IMG_0003.jpg"}},
        // The second sort starts from the first one's order, which the views never saw.
        ReSortCase{"AscendingThenDescending",
                   {SortOrder::Ascending, SortOrder::Descending},
                   {"IMG_0002.jpg", "IMG_0001.jpg", "IMG_0003.jpg"}}),
    [](const ::testing::TestParamInfo<ReSortCase>& info) { return std::string(info.param.name); });

// A row written before a sort is somewhere else after it; the views are told to read it there.
TEST_F(FileListModelTest, ARowChangedBeforeAReSortIsRedrawnWhereItWentTo) {
    list.setCell(3, ListColumn::NewName, QStringLiteral("z.jpg"));  // IMG_0003 now sorts last
    list.setSortKey(ListColumn::NewName);
    list.setSortOrder(SortOrder::Descending);
    list.setSorted(true);
    list.setSorted(false);
    model.apply();
    ASSERT_EQ(cell(0, 0).toString(), QStringLiteral("IMG_0003.jpg"));
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_LE(changed[0].first, 0);
    EXPECT_GE(changed[0].second, 0);
    EXPECT_EQ(resets, 0);
}

// Sorting rows that are being added is still a new set of rows.
TEST_F(FileListModelTest, RowsSortedWhileTheyAreAddedAreAReset) {
    list.setSortKey(ListColumn::NewName);
    list.setSorted(true);
    list.clear();
    for (const char* name : {"b.jpg", "a.jpg"}) list.addRow(MakeRow(name, name, false));
    list.setSorted(false);
    const ListChanges changes = model.apply();
    EXPECT_TRUE(changes.rowsReplaced);
    EXPECT_FALSE(changes.moved());
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(cell(0, 0).toString(), QStringLiteral("a.jpg"));
}

TEST_F(FileListModelTest, AHundredThousandRowsCostNoPerRowObjects) {
    list.clear();
    list.reserve(100000);
    for (int i = 0; i < 100000; ++i) list.addRow(MakeRow("IMG.jpg", "n.jpg", i % 2 == 0));
    model.apply();
    EXPECT_EQ(model.rowCount(), 100000);
    for (int row = 1; row <= 100000; ++row)
        list.setCell(row, ListColumn::NewName, QStringLiteral("m.jpg"));
    model.apply();
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0], std::make_pair(0, 99999));
    EXPECT_EQ(cell(99999, 1).toString(), QStringLiteral("m.jpg"));
}

TEST(FileListModelNames, ANewNameKeepingBytesThatAreNotUtf8IsShownReadable) {
    ListView list{QStringLiteral("LV")};
    ListRow row;
    row.text = ReadableFileName(FileNameText("caf\xe9_0007.jpg"));
    row.newName = FileNameText("caf\xe9_1.\x80");
    list.addRow(row);
    FileListModel model{list};
    model.apply();
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(),
              QString::fromUtf8("caf\xef\xbf\xbd_0007.jpg"));
    EXPECT_EQ(model.data(model.index(0, 1), Qt::DisplayRole).toString(),
              QString::fromUtf8("caf\xef\xbf\xbd_1.\xef\xbf\xbd"));
}

// Qt's own checks of an item model, over every kind of change the list makes.
TEST_F(FileListModelTest, PassesQtsItemModelChecksThroughRebuildsAndPasses) {
    const QStringList faults = test::ItemModelFaults(&model, [this] {
        // A naming pass, a check mark, a selection, a rebuild to more and to fewer rows.
        for (int row = 1; row <= 3; ++row)
            list.setCell(row, ListColumn::NewName, QStringLiteral("c.jpg"));
        model.apply();
        // Re-sorts, the first after a row changed, as a click on the sort options makes them.
        list.setCell(1, ListColumn::NewName, QStringLiteral("d.jpg"));
        list.setSortKey(ListColumn::NewName);
        list.setSorted(true);
        list.setSortOrder(SortOrder::Descending);
        list.setSorted(false);
        model.apply();
        list.setSorted(true);
        list.setSortOrder(SortOrder::Ascending);
        list.setSorted(false);
        model.apply();
        model.setData(model.index(0, 0), Qt::Unchecked, Qt::CheckStateRole);
        list.setSelected(2, true);
        model.apply();
        list.clear();
        for (int i = 0; i < 7; ++i) list.addRow(MakeRow("x.jpg", "y.jpg", i % 2 == 0));
        model.apply();
        list.clear();
        list.addRow(MakeRow("z.jpg", "", false));
        model.apply();
        model.refreshHeaders();
        list.clear();
        model.apply();
    });
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
}

}  // namespace
}  // namespace quillet
