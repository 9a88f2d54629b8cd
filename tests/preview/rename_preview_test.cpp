#include "preview/rename_preview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "preview/rename_marks.h"
#include "shell/status_bar_problems.h"
#include "support/window_harness.h"

namespace quillet::test {
namespace {

// One list as the user sees it before pressing the execute button: the files of the folder
// (each holding its own name), the new name of each checked row, and what the row's tool tip
// should say (a part of the text, or nothing).
struct PreviewCase {
    const char* name;
    std::vector<const char*> files;
    std::map<std::string, std::string> renames;  // current name -> new name
    std::vector<const char*> unchecked;
    std::map<std::string, std::string> expected;  // current name -> part of the reason
};

std::string CaseName(const ::testing::TestParamInfo<PreviewCase>& info) {
    return info.param.name;
}

class RenamePreviewTest : public ::testing::TestWithParam<PreviewCase> {
  protected:
    int rowOf(const std::string& name) {
        for (int row = 1; row <= f.LV.rowCount(); ++row) {
            if (f.LV.row(row).text == QString::fromStdString(name)) return row;
        }
        ADD_FAILURE() << "no row " << name;
        return 0;
    }

    WindowHarness harness;
    Form1& f = harness.form();
};

// Marks the list as the naming pass does after writing the names.
void Mark(WindowHarness& harness) {
    RenameMarks(harness.window().platform().files).update(harness.form());
}

int MarkedRows(const Form1& f) {
    int marked = 0;
    for (int row = 1; row <= f.LV.rowCount(); ++row)
        if (f.LV.row(row).mark.problem != RenameProblem::None) ++marked;
    return marked;
}

// The preview is only worth showing if it is right: every row it warns about keeps its old
// name in the real pass, and every other row ends under its new name; the count the status
// bar tells beforehand is the count the pass reports afterwards.
TEST_P(RenamePreviewTest, ToldReasonsMatchWhatThePassThenDoes) {
    const PreviewCase& c = GetParam();
    for (const char* file : c.files) harness.photos.write(file, file);
    harness.photos.makeFolder("sub");
    harness.photos.write(".hidden");
    harness.startOnPhotos();
    for (const char* name : c.unchecked) f.LV.userSetChecked(rowOf(name), false);
    for (const auto& [from, to] : c.renames)
        f.LV.setNewName(rowOf(from), QString::fromStdString(to));
    Mark(harness);

    int warned = 0;
    for (const auto& [from, part] : c.expected) {
        const QString reason = RowToolTipText(f, rowOf(from));
        if (part.empty()) {
            EXPECT_TRUE(reason.isEmpty()) << from << ": " << reason.toStdString();
        } else {
            EXPECT_TRUE(reason.contains(QString::fromStdString(part)))
                << from << ": " << reason.toStdString();
            ++warned;
        }
    }
    EXPECT_EQ(MarkedRows(f), warned);
    EXPECT_EQ(f.SBar.panel(2).toolTip, KeptNamesText(warned));

    EXPECT_FALSE(harness.execute());

    int stayed = 0;
    for (const auto& [from, to] : c.renames) {
        const bool checked =
            std::find(c.unchecked.begin(), c.unchecked.end(), from) == c.unchecked.end();
        const bool stays =
            harness.photos.exists(QByteArray::fromStdString(from)) &&
            harness.photos.read(QByteArray::fromStdString(from)) == QByteArray::fromStdString(from);
        if (checked && from != to && stays) ++stayed;
        if (c.expected.count(from) == 0) continue;
        const bool told = !c.expected.at(from).empty() || from == to || !checked;
        EXPECT_EQ(stays, told) << from;
        if (!stays) {
            const QByteArray where = QByteArray::fromStdString(to);
            ASSERT_TRUE(harness.photos.exists(where)) << from << " is not at " << to;
            EXPECT_EQ(harness.photos.read(where), QByteArray::fromStdString(from));
        }
    }
    EXPECT_EQ(stayed, warned) << "the preview and the pass disagree";
    const PassReport& report = f.LV.lastPass();
    EXPECT_TRUE(report.ran);
    EXPECT_EQ(static_cast<int>(report.failures.size()), warned);
    EXPECT_EQ(PassSummaryText(report),
              warned == 0
                  ? QString()
                  : QStringLiteral("前回の実行では %1 個のファイルの名前が変わりませんでした")
                        .arg(warned));
}

const std::string kLongName = std::string(260, 'n') + ".jpg";

INSTANTIATE_TEST_SUITE_P(
    Rows, RenamePreviewTest,
    ::testing::Values(
        PreviewCase{"FreeNamesGoThrough",
                    {"a_1.jpg", "a_2.jpg"},
                    {{"a_1.jpg", "b_1.jpg"}, {"a_2.jpg", "b_2.jpg"}},
                    {},
                    {{"a_1.jpg", ""}, {"a_2.jpg", ""}}},
        PreviewCase{"SwappedNamesBothStay",
                    {"a_1.jpg", "a_2.jpg"},
                    {{"a_1.jpg", "a_2.jpg"}, {"a_2.jpg", "a_1.jpg"}},
                    {},
                    {{"a_1.jpg", "一覧にある別のファイル"}, {"a_2.jpg", "一覧にある別のファイル"}}},
        PreviewCase{"AFileOutsideTheListIsInTheWay",
                    {"a_1.jpg", "keep.txt"},
                    {{"a_1.jpg", "keep.txt"}},
                    {},
                    {{"a_1.jpg", "フォルダに既にある"}}},
        PreviewCase{"AnEarlierRowTakesTheNameFirst",
                    {"a_1.jpg", "a_2.jpg"},
                    {{"a_1.jpg", "z.jpg"}, {"a_2.jpg", "z.jpg"}},
                    {},
                    {{"a_1.jpg", ""}, {"a_2.jpg", "1 行目のファイルが先に「z.jpg」"}}},
        PreviewCase{"ANameFreedEarlierInThePassIsTaken",
                    {"a_1.jpg", "a_2.jpg"},
                    {{"a_1.jpg", "c.jpg"}, {"a_2.jpg", "a_1.jpg"}},
                    {},
                    {{"a_1.jpg", ""}, {"a_2.jpg", ""}}},
        PreviewCase{"ANameFreedLaterInThePassIsNot",
                    {"a_1.jpg", "a_2.jpg"},
                    {{"a_1.jpg", "a_2.jpg"}, {"a_2.jpg", "c.jpg"}},
                    {},
                    {{"a_1.jpg", "一覧にある別のファイル"}, {"a_2.jpg", ""}}},
        PreviewCase{"AnUncheckedFileKeepsItsName",
                    {"a_1.jpg", "a_2.jpg"},
                    {{"a_1.jpg", "a_2.jpg"}},
                    {"a_2.jpg"},
                    {{"a_1.jpg", "一覧にある別のファイル"}, {"a_2.jpg", ""}}},
        PreviewCase{"ANameWithASlashIsRefused",
                    {"a_1.jpg", "a_2.jpg"},
                    {{"a_1.jpg", "x/y.jpg"}, {"a_2.jpg", ""}},
                    {},
                    {{"a_1.jpg", "「/」"}, {"a_2.jpg", "空"}}},
        PreviewCase{"ATooLongNameIsRefused",
                    {"a_1.jpg"},
                    {{"a_1.jpg", kLongName}},
                    {},
                    {{"a_1.jpg", "長すぎる（264 バイト"}}},
        // Each file takes the name of the next one: in list order the next one still holds it,
        // so only the last file moves; the other way round every name is free in time.
        PreviewCase{"AChainAgainstThePassOrderStopsAtEveryLink",
                    {"a_1.jpg", "a_2.jpg", "a_3.jpg"},
                    {{"a_1.jpg", "a_2.jpg"}, {"a_2.jpg", "a_3.jpg"}, {"a_3.jpg", "a_4.jpg"}},
                    {},
                    {{"a_1.jpg", "「a_2.jpg」は一覧にある別のファイル"},
                     {"a_2.jpg", "「a_3.jpg」は一覧にある別のファイル"},
                     {"a_3.jpg", ""}}},
        PreviewCase{"AChainInThePassOrderGoesThrough",
                    {"a_1.jpg", "a_2.jpg", "a_3.jpg"},
                    {{"a_1.jpg", "z.jpg"}, {"a_2.jpg", "a_1.jpg"}, {"a_3.jpg", "a_2.jpg"}},
                    {},
                    {{"a_1.jpg", ""}, {"a_2.jpg", ""}, {"a_3.jpg", ""}}},
        PreviewCase{"ANameHeldByAFolderIsTaken",
                    {"a_1.jpg"},
                    {{"a_1.jpg", "sub"}},
                    {},
                    {{"a_1.jpg", "「sub」という名前のファイルがフォルダに既にある"}}},
        PreviewCase{"DotNamesAreRefused",
                    {"a_1.jpg", "a_2.jpg"},
                    {{"a_1.jpg", "."}, {"a_2.jpg", ".."}},
                    {},
                    {{"a_1.jpg", "「.」はファイル名に使えない"},
                     {"a_2.jpg", "「..」はファイル名に使えない"}}},
        PreviewCase{"TheSameNameIsNoProblem",
                    {"a_1.jpg"},
                    {{"a_1.jpg", "a_1.jpg"}},
                    {},
                    {{"a_1.jpg", ""}}}),
    CaseName);

TEST(RenamePreview, SaysNothingForRowsThatAreNotRenamed) {
    WindowHarness harness;
    Form1& f = harness.form();
    harness.photos.write("a_1.jpg");
    harness.photos.write("a_2.jpg");
    harness.startOnPhotos();
    f.LV.setNewName(1, QStringLiteral("a_2.jpg"));
    f.LV.setNewName(2, QStringLiteral("a_1.jpg"));
    Mark(harness);
    {
        EXPECT_FALSE(RowToolTipText(f, 1).isEmpty());
        EXPECT_TRUE(RowToolTipText(f, 0).isEmpty());
        EXPECT_TRUE(RowToolTipText(f, 3).isEmpty());
    }
    f.Check6.setValue(1);
    EXPECT_TRUE(RowToolTipText(f, 1).isEmpty());
    EXPECT_EQ(MarkedRows(f), 0) << "attribute-only mode renames nothing";
    EXPECT_TRUE(f.SBar.panel(2).toolTip.isEmpty());
}

// A long chain of renames, each waiting for the next file to move away first, in the order
// that lets every one of them through.
TEST(RenamePreview, FollowsALongChainOfRenames) {
    WindowHarness harness;
    Form1& f = harness.form();
    constexpr int kFiles = 300;
    for (int i = 1; i <= kFiles; ++i)
        harness.photos.write(QStringLiteral("p_%1.jpg").arg(i).toUtf8());
    harness.startOnPhotos();
    f.Check2.setValue(1);  // descending: p_300 first, so each name is free when its turn comes
    ASSERT_EQ(f.LV.row(1).text, QStringLiteral("p_300.jpg"));
    for (int row = 1; row <= kFiles; ++row) {
        const int number = kFiles - row + 1;
        f.LV.setNewName(row, QStringLiteral("p_%1.jpg").arg(number + 1));
    }
    Mark(harness);
    EXPECT_EQ(MarkedRows(f), 0);
    EXPECT_TRUE(RowToolTipText(f, kFiles).isEmpty()) << RowToolTipText(f, kFiles).toStdString();
    // The other way round every row waits on a file that has not moved yet.
    f.Check2.setValue(0);
    for (int row = 1; row <= kFiles; ++row)
        f.LV.setNewName(row, QStringLiteral("p_%1.jpg").arg(row + 1));
    Mark(harness);
    EXPECT_EQ(MarkedRows(f), kFiles - 1);
    EXPECT_FALSE(RowToolTipText(f, 1).isEmpty());
    EXPECT_TRUE(RowToolTipText(f, kFiles).isEmpty());
}

}  // namespace
}  // namespace quillet::test
