#include "preview/rename_marks.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>

#include "preview/rename_preview.h"
#include "support/window_harness.h"

namespace quillet::test {
namespace {

// The marks as the user sees them: the reason of every row, in row order, "" where none.
QStringList Reasons(const Form1& f) {
    QStringList reasons;
    for (int row = 1; row <= f.LV.rowCount(); ++row)
        reasons << f.LV.row(row).text + QLatin1Char('=') + RenameProblemText(f.LV.row(row));
    return reasons;
}

QString Reason(const char* part) {
    return QString::fromUtf8(part);
}

QStringList Names(std::initializer_list<const char*> names) {
    QStringList list;
    for (const char* name : names) list << QString::fromUtf8(name);
    return list;
}

// Three photos renamed to 001.jpg, 002.jpg, 003.jpg by counting from 001, in a folder where
// 002.jpg is one of them and 003.jpg is a folder the list does not show.
class RenameMarksTest : public ::testing::Test {
  protected:
    RenameMarksTest() {
        for (const char* name : {"b.jpg", "c.jpg", "002.jpg"}) harness.photos.write(name, name);
        harness.photos.makeFolder("003.jpg");
        harness.startOnPhotos();
        f.Text2.setText(QStringLiteral("001"));
    }

    WindowHarness harness;
    Form1& f = harness.form();
};

TEST_F(RenameMarksTest, EveryNamingPassMarksTheRenamesThatWillNotHappen) {
    ASSERT_EQ(harness.fileNames(), Names({"b.jpg", "c.jpg", "002.jpg"}));
    ASSERT_EQ(harness.newNames(), Names({"001.jpg", "002.jpg", "003.jpg"}));
    const QStringList reasons = Reasons(f);
    EXPECT_EQ(reasons[0], QStringLiteral("b.jpg="));
    EXPECT_TRUE(reasons[1].contains(Reason("「002.jpg」は一覧にある別のファイルの名前")))
        << reasons[1].toStdString();
    EXPECT_TRUE(reasons[2].contains(Reason("「003.jpg」という名前のファイルがフォルダに既にある")))
        << reasons[2].toStdString();
    EXPECT_EQ(f.SBar.panel(2).toolTip,
              Reason("チェックしたファイルのうち 2 個は、実行しても名前が変わりません"));
    EXPECT_EQ(f.SBar.panel(2).text, QStringLiteral("3files")) << "the panel keeps its text";
}

TEST_F(RenameMarksTest, MarksFollowUnchecking) {
    f.LV.userSetChecked(1, false);  // c.jpg now gets 001.jpg, 002.jpg keeps its own name
    ASSERT_EQ(harness.newNames(), Names({"", "001.jpg", "002.jpg"}));
    EXPECT_EQ(Reasons(f), Names({"b.jpg=", "c.jpg=", "002.jpg="}));
    EXPECT_TRUE(f.SBar.panel(2).toolTip.isEmpty());

    f.LV.userSetChecked(1, true);
    EXPECT_EQ(f.LV.row(2).mark.problem, RenameProblem::TakenByListedFile);
    EXPECT_EQ(f.LV.row(3).mark.problem, RenameProblem::TakenInFolder);
}

// Descending, 002.jpg moves first and frees its name for c.jpg; b.jpg now meets the folder.
TEST_F(RenameMarksTest, MarksFollowReSortingAndMatchWhatThePassLeaves) {
    f.Check2.setValue(1);
    ASSERT_EQ(harness.fileNames(), Names({"002.jpg", "c.jpg", "b.jpg"}));
    ASSERT_EQ(harness.newNames(), Names({"001.jpg", "002.jpg", "003.jpg"}));
    EXPECT_EQ(f.LV.row(1).mark.problem, RenameProblem::None);
    EXPECT_EQ(f.LV.row(2).mark.problem, RenameProblem::None);
    EXPECT_EQ(f.LV.row(3).mark.problem, RenameProblem::TakenInFolder);
    EXPECT_EQ(f.SBar.panel(2).toolTip,
              Reason("チェックしたファイルのうち 1 個は、実行しても名前が変わりません"));

    EXPECT_FALSE(harness.execute());
    EXPECT_EQ(harness.photos.read("001.jpg"), "002.jpg");
    EXPECT_EQ(harness.photos.read("002.jpg"), "c.jpg");
    EXPECT_EQ(harness.photos.read("b.jpg"), "b.jpg");
    const PassReport& report = f.LV.lastPass();
    ASSERT_EQ(report.failures.size(), 1u);
    EXPECT_EQ(report.renamed, 2);
    EXPECT_EQ(report.failures[0].from, "b.jpg");
    EXPECT_EQ(report.failures[0].to, "003.jpg");
    EXPECT_EQ(report.failures[0].error, EEXIST);
}

// Two rows ending under the same name: the second is told which row takes it first, by its
// place in the list as it is now sorted.
TEST_F(RenameMarksTest, TheRowTakingANameFirstIsToldByItsPlace) {
    RenameMarks marks(harness.window().platform().files);
    const auto name = [this](int row, const char* to) { f.LV.setNewName(row, Reason(to)); };
    name(1, "y.jpg");
    name(2, "z.jpg");
    name(3, "z.jpg");
    marks.update(f);
    EXPECT_TRUE(RenameProblemText(f.LV.row(3))
                    .startsWith(Reason("2 行目のファイルが先に「z.jpg」になるので")))
        << RenameProblemText(f.LV.row(3)).toStdString();

    f.Check2.setValue(1);
    ASSERT_EQ(harness.fileNames(), Names({"002.jpg", "c.jpg", "b.jpg"}));
    name(1, "z.jpg");
    name(2, "z.jpg");
    name(3, "y.jpg");
    marks.update(f);
    EXPECT_EQ(f.LV.row(1).mark.problem, RenameProblem::None);
    EXPECT_TRUE(RenameProblemText(f.LV.row(2))
                    .startsWith(Reason("1 行目のファイルが先に「z.jpg」になるので")))
        << RenameProblemText(f.LV.row(2)).toStdString();
}

// Typed parts with a counter that goes up never repeat a name, but from -999 down the counter
// stands still: every row after the first keeps its own name.
TEST_F(RenameMarksTest, RowsGivenTheSameNameByTheNamingAreMarked) {
    struct Case {
        const char* start;
        const char* takenFrom;  // per row, the row that takes its name first, or nothing
    };
    const Case cases[] = {{"-1000", ",1,1"}, {"-999", ",1,1"}, {"-998", ",,"}, {"5", ",,"}};
    for (const Case& c : cases) {
        f.Text2.setText(QString::fromLatin1(c.start));
        QStringList taken;
        for (int row = 1; row <= f.LV.rowCount(); ++row) {
            const RenameMark& mark = f.LV.row(row).mark;
            taken << (mark.problem == RenameProblem::TakenByEarlierRename
                          ? QString::number(mark.holder)
                          : QString());
        }
        EXPECT_EQ(taken.join(u','), QLatin1String(c.takenFrom))
            << c.start << ": " << harness.newNames().join(u' ').toStdString();
    }
}

// A refused name stands in the report with the error it would have met.
TEST_F(RenameMarksTest, TheReportGivesARefusedNameItsError) {
    f.LV.setNewName(1, QString(300, QLatin1Char('n')));
    f.LV.setNewName(2, QStringLiteral("x/y.jpg"));
    f.LV.setNewName(3, QStringLiteral("ok.jpg"));
    RenameMarks(harness.window().platform().files).update(f);
    EXPECT_EQ(f.LV.row(1).mark.problem, RenameProblem::TooLong);
    EXPECT_EQ(f.LV.row(2).mark.problem, RenameProblem::Slash);
    EXPECT_FALSE(harness.execute());
    const PassReport& report = f.LV.lastPass();
    ASSERT_EQ(report.failures.size(), 2u);
    EXPECT_EQ(report.failures[0].error, ENAMETOOLONG);
    EXPECT_EQ(report.failures[1].error, EINVAL);
    EXPECT_EQ(harness.photos.read("ok.jpg"), "002.jpg");
}

// The listing keeps the names it does not show, so a link and a folder still take theirs.
TEST(RenameMarksUnlisted, NamesHeldByEntriesTheListDoesNotShowAreTaken) {
    WindowHarness harness;
    for (const char* name : {"b.jpg", "c.jpg"}) harness.photos.write(name, name);
    ASSERT_EQ(::symlink("nowhere", (harness.photos.path() + "/001.jpg").constData()), 0);
    harness.photos.makeFolder("002.jpg");
    harness.startOnPhotos();
    Form1& f = harness.form();
    f.Text2.setText(QStringLiteral("001"));
    ASSERT_EQ(harness.newNames(), Names({"001.jpg", "002.jpg"}));
    EXPECT_EQ(f.LV.row(1).mark.problem, RenameProblem::TakenInFolder);
    EXPECT_EQ(f.LV.row(2).mark.problem, RenameProblem::TakenInFolder);
}

}  // namespace
}  // namespace quillet::test
