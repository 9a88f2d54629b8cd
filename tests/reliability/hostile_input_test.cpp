// Whatever is typed into the window, the files stay in their folder, none is lost, and the
// list shows what will happen.

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "reliability/folder_snapshot.h"
#include "reliability/pass_model.h"
#include "support/window_harness.h"

namespace quillet::test {
namespace {

QString Repeated(const QString& piece, int times) {
    QString text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

class HostileInputTest : public ::testing::Test {
  protected:
    // A folder "work" with three photos and a subfolder whose name a "/" in a new name would
    // lead into, beside a sibling folder; the window starts on it in extended mode, so that
    // every box can be typed into.
    void start() {
        root.makeFolder("sibling");
        root.write("sibling/x_1.jpg", "sibling");
        root.makeFolder("work");
        root.makeFolder("work/x_");
        root.makeFolder("work/..x_");
        for (const char* name : {"x_1.jpg", "x_2.jpg", "x_3.jpg"})
            root.write(QByteArray("work/") + name, QByteArray("content of ") + name);
        before = TakeSnapshot(root.path());
        ASSERT_TRUE(harness.load(root.pathOf("work")));
        f.Command3.click();
        ASSERT_EQ(f.LV.rowCount(), 3);
    }

    // Runs the pass and checks it did exactly what the list showed, inside the folder only.
    void executeAndCheck() {
        const Snapshot shown = PredictRenamePass(f.LV, EntriesOf(before, "work")).entries;
        EXPECT_TRUE(harness.execute());
        const Snapshot after = TakeSnapshot(root.path());
        EXPECT_EQ(LostOrDoubled(EntriesOf(before, "work"), EntriesOf(after, "work")).toStdString(),
                  "");
        EXPECT_EQ(DescribeDifference(shown, EntriesOf(after, "work")).toStdString(), "");
        EXPECT_EQ(
            DescribeDifference(WithoutEntriesOf(before, "work"), WithoutEntriesOf(after, "work"))
                .toStdString(),
            "");
    }

    QString newName(int row) const { return f.LV.row(row).newName; }

    TempFolder root;
    WindowHarness harness;
    Form1& f = harness.form();
    Snapshot before;
};

struct TextCase {
    const char* label;
    QString text;
};

std::vector<TextCase> HostileNameParts() {
    return {{"Slash", QStringLiteral("/")},
            {"SlashDotDot", QStringLiteral("/../../")},
            {"DotDot", QStringLiteral("..")},
            {"Dot", QStringLiteral(".")},
            {"Nul", QString(QChar(0)) + QStringLiteral("x")},
            {"ControlCharacters", QStringLiteral("\x01\x1b[31m\r\n\t")},
            {"RightToLeftOverride", QString(QChar(0x202e)) + QStringLiteral("gpj")},
            {"LoneSurrogate", QString(QChar(0xd800))},
            {"TenThousandCharacters", QString(10000, QLatin1Char('p'))},
            {"TenThousandKanji", QString(10000, QChar(0x5199))}};
}

class HostilePrefixTest : public HostileInputTest,
                          public ::testing::WithParamInterface<TextCase> {};

TEST_P(HostilePrefixTest, NeverLeadsAFileOutOfItsFolder) {
    start();
    f.Text1.setText(GetParam().text);
    // A refused prefix stays in the box; any other change then computes names with it.
    f.Check4.setValue(1);
    for (int row = 1; row <= 3; ++row) EXPECT_TRUE(newName(row).startsWith(GetParam().text));
    executeAndCheck();
}

TEST_P(HostilePrefixTest, NeverLeadsAFileOutOfItsFolderAsRandomLetters) {
    start();
    f.Text1.setText(GetParam().text);
    f.Check5.setValue(1);
    for (int row = 1; row <= 3; ++row) {
        for (const QChar c : newName(row).left(GetParam().text.size() - 1))
            EXPECT_TRUE(c.isLetter() && c.unicode() < 128) << newName(row).left(20).toStdString();
    }
    executeAndCheck();
}

INSTANTIATE_TEST_SUITE_P(Prefixes, HostilePrefixTest, ::testing::ValuesIn(HostileNameParts()),
                         [](const auto& info) { return std::string(info.param.label); });

class HostileExtensionTest : public HostileInputTest,
                             public ::testing::WithParamInterface<TextCase> {};

TEST_P(HostileExtensionTest, NeverLeadsAFileOutOfItsFolder) {
    start();
    f.Text1.setText(QStringLiteral("x_"));
    f.Text3.setText(GetParam().text);
    EXPECT_TRUE(newName(1).endsWith(QLatin1Char('.') + GetParam().text));
    executeAndCheck();
}

INSTANTIATE_TEST_SUITE_P(Extensions, HostileExtensionTest, ::testing::ValuesIn(HostileNameParts()),
                         [](const auto& info) { return std::string(info.param.label); });

struct StartCase {
    const char* label;
    QString text;
    const char* firstNumber;  // the number part of the first new name
    bool allEqual;            // from -999 down every row keeps the same number
};

class HostileStartTest : public HostileInputTest,
                         public ::testing::WithParamInterface<StartCase> {};

TEST_P(HostileStartTest, GivesNumbersInsideTheCounterRange) {
    start();
    f.Text1.setText(QStringLiteral("n_"));
    f.Text3.setText(QStringLiteral("jpg"));
    f.Text2.setText(GetParam().text);
    EXPECT_EQ(newName(1).toStdString(), std::string("n_") + GetParam().firstNumber + ".jpg");
    if (GetParam().allEqual) {
        EXPECT_EQ(newName(3), newName(1));
    } else {
        EXPECT_NE(newName(2), newName(1));
        EXPECT_NE(newName(3), newName(2));
    }
    executeAndCheck();
}

INSTANTIATE_TEST_SUITE_P(
    StartNumbers, HostileStartTest,
    ::testing::Values(
        StartCase{"BelowInt32", QStringLiteral("-2147483649"), "-02147483648", true},
        StartCase{"FourteenNines", QStringLiteral("99999999999999"), "002147483647", false},
        StartCase{"HexAllOnes", QStringLiteral("&HFFFFFFFF"), "2147483647", false},
        StartCase{"OverflowingExponent", QStringLiteral("1e400"), "2147483647", false},
        StartCase{"NegativeOverflow", QStringLiteral("-1e400"), "-2147483648", true},
        StartCase{"TenThousandDigits", QString(10000, QLatin1Char('9')), "002147483647", false},
        StartCase{"LongOctal", QStringLiteral("&O7777777777777777777777777"), "002147483647",
                  false},
        StartCase{"Underflow", QStringLiteral("1e-400"), "000000", false},
        StartCase{"FullWidthDigits", QStringLiteral("１２"), "00", false},
        StartCase{"NotANumber", QStringLiteral("NaN"), "000", false}),
    [](const auto& info) { return std::string(info.param.label); });

class HostilePatternTest : public HostileInputTest,
                           public ::testing::WithParamInterface<TextCase> {};

TEST_P(HostilePatternTest, ListsOnlyFilesOfTheFolderAndQuickly) {
    start();
    QElapsedTimer timer;
    timer.start();
    f.Text4.setText(GetParam().text);
    EXPECT_LT(timer.elapsed(), 2000);
    for (int row = 1; row <= f.LV.rowCount(); ++row)
        EXPECT_TRUE(EntriesOf(before, "work").count(f.LV.row(row).rawName));
    EXPECT_EQ(f.Command1.enabled(), f.LV.rowCount() > 0);
    f.Text1.setText(QStringLiteral("m_"));
    executeAndCheck();
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, HostilePatternTest,
    ::testing::Values(TextCase{"Empty", QString()}, TextCase{"OpenBracket", QStringLiteral("[")},
                      TextCase{"ThousandStars", QString(1000, QLatin1Char('*'))},
                      TextCase{"StarsAndLetters", Repeated(QStringLiteral("*x"), 5000)},
                      TextCase{"TenThousandQuestionMarks", QString(10000, QLatin1Char('?'))},
                      TextCase{"TenThousandBrackets", QString(10000, QLatin1Char('['))},
                      TextCase{"TenThousandBackslashes", QString(10000, QLatin1Char('\\'))},
                      TextCase{"TenThousandSeparators", QString(10000, QLatin1Char(';'))},
                      TextCase{"ReversedRange", QStringLiteral("[z-a]*")},
                      TextCase{"Nul", QStringLiteral("x") + QChar(0) + QStringLiteral("*")},
                      TextCase{"ParentFolder", QStringLiteral("../*")}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace quillet::test
