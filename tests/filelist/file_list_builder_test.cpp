#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <map>

#include "filelist/name_keys.h"
#include "naming/numbers.h"
#include "support/window_harness.h"
#include "util/file_name_text.h"

namespace quillet::test {
namespace {

struct ProposalCase {
    const char* title;
    std::vector<const char*> files;
    const char* prefix;
    const char* startNumber;
};

class ProposalTest : public ::testing::TestWithParam<ProposalCase> {};

TEST_P(ProposalTest, ProposesPrefixAndStartNumberFromTheNames) {
    WindowHarness harness;
    for (const char* name : GetParam().files) harness.photos.write(name);
    harness.startOnPhotos();
    EXPECT_EQ(harness.form().Text1.text(), QString::fromUtf8(GetParam().prefix));
    EXPECT_EQ(harness.form().Text2.text(), QString::fromUtf8(GetParam().startNumber));
}

std::vector<const char*> CameraNames(int count) {
    static std::vector<QByteArray> storage;
    std::vector<const char*> names;
    for (int i = 1; i <= count; ++i) {
        storage.push_back(QStringLiteral("IMG_%1.jpg").arg(i, 4, 10, QLatin1Char('0')).toUtf8());
    }
    for (size_t i = storage.size() - static_cast<size_t>(count); i < storage.size(); ++i)
        names.push_back(storage[i].constData());
    return names;
}

INSTANTIATE_TEST_SUITE_P(
    Folders, ProposalTest,
    ::testing::Values(
        ProposalCase{"CameraSeries", CameraNames(120), "IMG_", "001"},
        ProposalCase{"LargestNumberSetsTheWidth", {"DSC9.jpg", "DSC10000.jpg"}, "DSC", "00001"},
        ProposalCase{"FileCountSetsTheWidth", {"a.jpg", "b.jpg", "c.jpg"}, "", "1"},
        ProposalCase{"OneCharacterPrefixesAreNotProposed", {"a1.jpg", "b2.jpg"}, "", "1"},
        ProposalCase{"LastPrefixInNameOrderWins", {"x_1.jpg", "y_2.jpg"}, "y_", "1"},
        ProposalCase{"DigitsOnly", {"0012.jpg", "5123.jpg"}, "", "0001"},
        ProposalCase{"EmptyFolder", {}, "", "1"},
        ProposalCase{"OtherTypesAreNotListed", {"IMG_0001.gif", "notes.txt"}, "", "1"}),
    [](const auto& info) { return std::string(info.param.title); });

TEST(FileListBuilder, FillsEveryRowWithItsKeysAndSortsByTrailingNumber) {
    WindowHarness harness;
    for (const char* name : {"IMG_0012.jpg", "photo.jpeg", "a12.jpg", "IMG_0003.JPG", "notes.txt"})
        harness.photos.write(name);
    harness.startOnPhotos();
    auto& LV = harness.form().LV;

    ASSERT_EQ(LV.rowCount(), 4);
    EXPECT_EQ(harness.fileNames(),
              (QStringList{QStringLiteral("photo.jpeg"), QStringLiteral("IMG_0003.JPG"),
                           QStringLiteral("a12.jpg"), QStringLiteral("IMG_0012.jpg")}));
    const ListRow& row = LV.row(4);
    EXPECT_TRUE(row.checked);
    EXPECT_TRUE(row.newNameBlue);
    EXPECT_EQ(row.oldFile, QStringLiteral("IMG_"));
    EXPECT_EQ(row.sortKey, QStringLiteral("000000000012IMG_0012.jpg"));
    EXPECT_EQ(row.expantion, QStringLiteral("jpg"));
    EXPECT_EQ(row.exp, QStringLiteral("jpg       IMG_0012.jpg"));
    EXPECT_EQ(row.dateTime.size(), 19);
    EXPECT_EQ(harness.form().SBar.panel(2).text, QStringLiteral("4files"));
    EXPECT_FALSE(harness.form().PB1.visible());
    EXPECT_TRUE(harness.form().Command1.enabled());
}

TEST(FileListBuilder, ListsNamesThatAreNotValidUtf8WithTheirRawBytes) {
    WindowHarness harness;
    const QByteArray raw("caf\xe9_0001.jpg");
    harness.photos.write(raw, "photo");
    harness.startOnPhotos();
    ASSERT_EQ(harness.form().LV.rowCount(), 1);
    EXPECT_EQ(harness.form().LV.row(1).rawName, raw);
    EXPECT_TRUE(harness.form().LV.row(1).text.contains(QChar(0xFFFD)));
}

// Prefixes and times that come back in list order after others: "c_1.jpg", "c_1a_7.jpg",
// "c_1b_7.jpg", "c_2.jpg" ... have the prefixes c_, c_1a_, c_1b_, c_ ..., with up to five
// others in between, some of them names kept otherwise than they are shown; the times go
// round three values, with a time of its own now and then. Every row has its own prefix, time and
// keys, whatever the rows before it had.
TEST(FileListBuilder, EveryRowGetsItsOwnPrefixAndTimeWhenTheyComeBack) {
    struct Expected {
        QByteArray prefix;
        int number = 0;
        std::int64_t time = 0;
    };
    WindowHarness harness;
    std::map<QByteArray, Expected> expected;  // by raw name
    const auto add = [&](const QByteArray& prefix, int number) {
        const QByteArray name = prefix + QByteArray::number(number) + ".jpg";
        const std::size_t made = expected.size();
        const std::size_t round = made % 5 == 4 ? made : made % 3;
        const auto time = static_cast<std::int64_t>(1000000000 + round * 86461);
        const timespec when[2] = {{static_cast<time_t>(time), 0}, {static_cast<time_t>(time), 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, harness.photos.write(name).constData(), when, 0), 0);
        expected[name] = {prefix, number, time};
    };
    const QByteArray others[] = {"a_", "b_", "\xe9_", "d_", "e_"};
    for (int n = 1; n <= 9; ++n) {
        add("c_", n);
        for (int k = 0; k < n % 6; ++k) add("c_" + QByteArray::number(n) + others[k], 7);
    }
    harness.startOnPhotos();
    const ListView& LV = harness.form().LV;
    ASSERT_EQ(LV.rowCount(), static_cast<int>(expected.size()));
    for (int r = 1; r <= LV.rowCount(); ++r) {
        const ListRow& row = LV.row(r);
        const Expected& wanted = expected.at(row.rawName);
        const QString name = FileNameText(row.rawName);
        SCOPED_TRACE(row.rawName.constData());
        EXPECT_EQ(row.oldFile, FileNameText(wanted.prefix));
        EXPECT_EQ(row.dateTime, ModificationTimeText(wanted.time));
        EXPECT_EQ(row.sortKey, ZeroPad(wanted.number, 12) + name);
        EXPECT_EQ(row.exp, QStringLiteral("jpg       ") + name);
        EXPECT_EQ(row.expantion, QStringLiteral("jpg"));
    }
}

TEST(FileListBuilder, ASecondRebuildGivesTheSameKeysAndChecksEveryRowAgain) {
    WindowHarness harness;
    for (const char* name : {"b_2.jpg", "a_1.jpg"}) harness.photos.write(name);
    harness.startOnPhotos();
    auto& LV = harness.form().LV;
    const ListRow before = LV.row(1);
    LV.userSetChecked(1, false);
    harness.window().RebuildFileList();
    EXPECT_TRUE(LV.row(1).checked);
    for (int column = ColumnIndex(ListColumn::NewName); column < kListColumns; ++column) {
        const auto cell = static_cast<ListColumn>(column);
        EXPECT_EQ(LV.row(1).cell(cell), before.cell(cell));
    }
}

// Each value the bar shows during one rebuild, with the number of rows listed at that moment
// (the bar is shown at 0 while the rows of the previous build are still there).
struct ProgressCase {
    const char* title;
    int files;
    std::vector<std::pair<int, int>> valuesAndRows;
};

class RebuildProgressTest : public ::testing::TestWithParam<ProgressCase> {};

TEST_P(RebuildProgressTest, FirstPassFillsTheFirstHalfAndSecondPassTheSecond) {
    WindowHarness harness;
    for (int i = 1; i <= GetParam().files; ++i)
        harness.photos.write("a_" + QByteArray::number(i) + ".jpg");
    harness.startOnPhotos();
    Form1& f = harness.form();
    std::vector<std::pair<int, int>> seen;
    bool rebuilt = false;
    f.PB1.subscribe([&] {
        if (rebuilt) return;
        // The naming pass that ends the rebuild shows a bar of its own.
        if (!f.PB1.visible()) {
            rebuilt = !seen.empty();
            return;
        }
        if (seen.empty() || seen.back().first != f.PB1.value())
            seen.emplace_back(f.PB1.value(), f.LV.rowCount());
    });
    harness.window().RebuildFileList();
    EXPECT_EQ(seen, GetParam().valuesAndRows);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, RebuildProgressTest,
    ::testing::Values(ProgressCase{"Empty", 0, {{0, 0}}},
                      ProgressCase{"OneFile", 1, {{0, 1}, {100, 1}}},
                      ProgressCase{
                          "ThreeFiles", 3, {{0, 3}, {25, 2}, {50, 3}, {66, 3}, {83, 3}, {100, 3}}},
                      ProgressCase{"FiveFiles",
                                   5,
                                   {{0, 5},
                                    {12, 2},
                                    {25, 3},
                                    {37, 4},
                                    {50, 5},
                                    {60, 5},
                                    {70, 5},
                                    {80, 5},
                                    {90, 5},
                                    {100, 5}}}),
    [](const auto& info) { return std::string(info.param.title); });

TEST(FileListBuilder, StoresTheSeedFromTheTimeOfDay) {
    WindowHarness harness;
    harness.clock.now = {14, 5, 9};
    harness.startOnPhotos();
    EXPECT_EQ(harness.window().state().RandomSeed, 9 * 10000 + 5 * 100 + 14);
    EXPECT_FALSE(harness.window().state().SuppressNaming);
}

}  // namespace
}  // namespace quillet::test
