#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include "platform/linux/linux_file_system.h"
#include "support/faulty_file_system.h"
#include "support/window_harness.h"

namespace quillet::test {
namespace {

class SortFilterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Modification times run against name order, so every order differs.
        const char* names[] = {"b_3.gif", "a_10.jpg", "C_2.jpg", "d_1.jpeg"};
        for (int i = 0; i < 4; ++i) {
            const QByteArray path = harness.photos.write(names[i], names[i]);
            struct utimbuf times {
                1700000000 + i * 100, 1700000000 + i * 100
            };
            ::utime(path.constData(), &times);
        }
        harness.startOnPhotos();
    }
    WindowHarness harness;
    Form1& f = harness.form();
};

struct OrderCase {
    const char* title;
    int option;
    bool descending;
    std::vector<const char*> order;
    const char* checkCaption;
};

class SortOrderTest : public SortFilterTest, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(SortOrderTest, ReSortsTheRowsAndNumbersThemAnew) {
    f.Command3.click();  // extended mode lists every type
    f.Option1[GetParam().option].select();
    f.Check2.setValue(GetParam().descending ? 1 : 0);
    QStringList expected;
    for (const char* name : GetParam().order) expected << QString::fromUtf8(name);
    EXPECT_EQ(harness.fileNames(), expected);
    EXPECT_EQ(f.Check2.caption(), QString::fromUtf8(GetParam().checkCaption));
    EXPECT_TRUE(harness.newNames().at(0).contains(QStringLiteral("1.")));
}

INSTANTIATE_TEST_SUITE_P(
    Orders, SortOrderTest,
    ::testing::Values(
        OrderCase{"Name", 0, false, {"a_10.jpg", "b_3.gif", "C_2.jpg", "d_1.jpeg"}, "降順整列"},
        OrderCase{
            "TrailingNumber", 1, false, {"d_1.jpeg", "C_2.jpg", "b_3.gif", "a_10.jpg"}, "降順整列"},
        OrderCase{"TrailingNumberDescending",
                  1,
                  true,
                  {"a_10.jpg", "b_3.gif", "C_2.jpg", "d_1.jpeg"},
                  "降順整列"},
        OrderCase{
            "Extension", 2, false, {"b_3.gif", "d_1.jpeg", "a_10.jpg", "C_2.jpg"}, "降順整列"},
        OrderCase{"ModificationTime",
                  3,
                  false,
                  {"b_3.gif", "a_10.jpg", "C_2.jpg", "d_1.jpeg"},
                  "新しいもの順"},
        OrderCase{"NewestFirst",
                  3,
                  true,
                  {"d_1.jpeg", "C_2.jpg", "a_10.jpg", "b_3.gif"},
                  "新しいもの順"}),
    [](const auto& info) { return std::string(info.param.title); });

TEST_F(SortFilterTest, ReSortingKeepsCheckMarksAndHiddenColumns) {
    f.LV.userSetChecked(1, false);  // d_1.jpeg
    const ListRow before = f.LV.row(1);
    f.Option1[0].select();
    int at = 0;
    for (int i = 1; i <= f.LV.rowCount(); ++i)
        if (f.LV.row(i).text == before.text) at = i;
    ASSERT_GT(at, 0);
    EXPECT_FALSE(f.LV.row(at).checked);
    for (int column = ColumnIndex(ListColumn::OldFile); column < kListColumns; ++column) {
        const auto hidden = static_cast<ListColumn>(column);
        EXPECT_EQ(f.LV.row(at).cell(hidden), before.cell(hidden));
    }
    EXPECT_EQ(f.Check2.value(), 0);
}

TEST_F(SortFilterTest, ChoosingAFileTypeSetsTheExtensionAndRebuilds) {
    f.Text1.setText(QStringLiteral("typed_"));
    f.Combo1.setListIndex(1);
    EXPECT_EQ(f.Text3.text(), QStringLiteral("gif"));
    EXPECT_EQ(harness.fileNames(), QStringList{QStringLiteral("b_3.gif")});
    EXPECT_EQ(f.Text1.text(), QStringLiteral("b_"));
    EXPECT_EQ(harness.newNames(), QStringList{QStringLiteral("b_1.gif")});
}

TEST_F(SortFilterTest, EveryKeystrokeOfAPatternRebuildsTheList) {
    f.Command3.click();
    const int before = harness.clock.reads;
    for (const char* typed : {"*", "*.", "*.g", "*.gi", "*.gif"}) {
        f.Text4.setText(QString::fromUtf8(typed));
    }
    EXPECT_EQ(harness.clock.reads - before, 5);
    EXPECT_EQ(harness.fileNames(), QStringList{QStringLiteral("b_3.gif")});
    f.Text4.setText(QStringLiteral("*.JPG;*.gif"));
    EXPECT_EQ(harness.fileNames().size(), 3);
}

// A large folder takes a noticeable time to read, so each change reads it no more than it must.
struct ReadingCase {
    const char* title;
    bool extendedMode;  // where the pattern can be typed
    std::function<void(Form1&)> change;
    int listings;
};

class FolderReadingTest : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(FolderReadingTest, EachChangeReadsTheFolderAtMostOnce) {
    LinuxFileSystem real;
    FaultyFileSystem counted(real);
    WindowHarness harness(&counted, nullptr);
    harness.photos.write("a_1.jpg", "a");
    harness.photos.write("b_2.gif", "b");
    harness.startOnPhotos();
    if (GetParam().extendedMode) harness.form().Command3.click();
    const int before = counted.listings;
    GetParam().change(harness.form());
    EXPECT_EQ(counted.listings - before, GetParam().listings);
    EXPECT_FALSE(harness.fileNames().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Changes, FolderReadingTest,
    ::testing::Values(
        ReadingCase{"PatternKeystroke", true,
                    [](Form1& f) { f.Text4.setText(QStringLiteral("*.jp*")); }, 1},
        ReadingCase{"FileType", false, [](Form1& f) { f.Combo1.setListIndex(1); }, 1},
        ReadingCase{"SortOption", false, [](Form1& f) { f.Option1[0].select(); }, 0},
        ReadingCase{"SortDirection", false, [](Form1& f) { f.Check2.setValue(1); }, 0},
        ReadingCase{"Prefix", false, [](Form1& f) { f.Text1.setText(QStringLiteral("p_")); }, 0}),
    [](const auto& info) { return std::string(info.param.title); });

TEST(FolderReadingAtStart, OnlyTheChosenFolderIsReadAndOnlyOnce) {
    LinuxFileSystem real;
    FaultyFileSystem counted(real);
    WindowHarness harness(&counted, nullptr);
    harness.photos.write("a_1.jpg", "a");
    harness.startOnPhotos();
    // Not the working folder the program was started in; the chosen folder's listing, made to
    // see it can be listed, is the one the list is built from.
    EXPECT_EQ(counted.listings, 1);
    EXPECT_EQ(harness.fileNames(), QStringList{QStringLiteral("a_1.jpg")});
}

}  // namespace
}  // namespace quillet::test
