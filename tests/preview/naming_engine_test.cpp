#include <gtest/gtest.h>

#include "support/window_harness.h"

namespace quillet::test {
namespace {

// One file, IMG_0012.JPG, named with the prefix "photo", start "001" and extension "jpg".
struct OptionCase {
    const char* title;
    bool original_value, original_prefix, original_extension;
    const char* expected;
};

class NamingOptionsTest : public ::testing::TestWithParam<OptionCase> {};

TEST_P(NamingOptionsTest, ComposesPrefixNumberAndExtension) {
    WindowHarness harness;
    harness.photos.write("IMG_0012.JPG");
    harness.startOnPhotos();
    Form1& f = harness.form();
    f.Text1.setText(QStringLiteral("photo"));
    f.Text2.setText(QStringLiteral("001"));
    f.Check1.setValue(GetParam().original_value);
    f.Check3.setValue(GetParam().original_prefix);
    f.Check4.setValue(GetParam().original_extension);
    EXPECT_EQ(f.LV.row(1).newName, QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Options, NamingOptionsTest,
    ::testing::Values(OptionCase{"None", false, false, false, "photo001.jpg"},
                      OptionCase{"OriginalValue", true, false, false, "photo012.jpg"},
                      OptionCase{"OriginalPrefix", false, true, false, "IMG_001.jpg"},
                      OptionCase{"OriginalExtension", false, false, true, "photo001.JPG"},
                      OptionCase{"AllOriginal", true, true, true, "IMG_012.JPG"}),
    [](const auto& info) { return std::string(info.param.title); });

class NamingTest : public ::testing::Test {
  protected:
    void start(std::initializer_list<const char*> files) {
        for (const char* name : files) harness.photos.write(name);
        harness.startOnPhotos();
    }
    WindowHarness harness;
    Form1& f = harness.form();
};

TEST_F(NamingTest, UncheckedRowsTakeNoNumberAndLeaveNoGap) {
    start({"a_1.jpg", "a_2.jpg", "a_3.jpg"});
    f.Text2.setText(QStringLiteral("001"));
    f.LV.userSetChecked(2, false);
    EXPECT_EQ(harness.newNames(),
              (QStringList{QStringLiteral("a_001.jpg"), QString(), QStringLiteral("a_002.jpg")}));
}

TEST_F(NamingTest, WidthIsTheDigitCountTypedAndNumbersAreNeverCut) {
    start({"p01.jpg", "p02.jpg", "p03.jpg", "p04.jpg", "p05.jpg", "p06.jpg", "p07.jpg", "p08.jpg",
           "p09.jpg", "p10.jpg", "p11.jpg", "p12.jpg"});
    f.Text1.setText(QStringLiteral("x"));
    f.Text2.setText(QStringLiteral("1"));
    EXPECT_EQ(harness.newNames().at(8), QStringLiteral("x9.jpg"));
    EXPECT_EQ(harness.newNames().at(11), QStringLiteral("x12.jpg"));
    f.Text2.setText(QStringLiteral("0001"));
    EXPECT_EQ(harness.newNames().at(0), QStringLiteral("x0001.jpg"));
    f.Text2.setText(QStringLiteral("000000000000007"));
    EXPECT_EQ(harness.newNames().at(0), QStringLiteral("x000000000007.jpg"));
    f.Text2.setText(QStringLiteral(" 5"));
    EXPECT_EQ(harness.newNames().at(0), QStringLiteral("x05.jpg"));
    f.Text2.setText(QStringLiteral("abc"));
    EXPECT_EQ(harness.newNames().at(1), QStringLiteral("x001.jpg"));
}

TEST_F(NamingTest, AnEmptiedStartNumberBecomesOne) {
    start({"a_1.jpg", "a_2.jpg"});
    f.Text2.setText(QString());
    EXPECT_EQ(f.Text2.text(), QStringLiteral("1"));
    EXPECT_EQ(harness.newNames(),
              (QStringList{QStringLiteral("a_1.jpg"), QStringLiteral("a_2.jpg")}));
}

TEST_F(NamingTest, CounterFromMinus999DownNoLongerAdvances) {
    start({"a_1.jpg", "a_2.jpg"});
    f.Text2.setText(QStringLiteral("-999"));
    // The sign counts as one of the typed digits.
    EXPECT_EQ(harness.newNames(),
              (QStringList{QStringLiteral("a_-0999.jpg"), QStringLiteral("a_-0999.jpg")}));
    f.Text2.setText(QStringLiteral("-998"));
    EXPECT_EQ(harness.newNames(),
              (QStringList{QStringLiteral("a_-0998.jpg"), QStringLiteral("a_-0997.jpg")}));
}

TEST_F(NamingTest, HugeStartNumbersAreHeldAtThe32BitLimit) {
    start({"a_1.jpg", "a_2.jpg"});
    f.Text2.setText(QStringLiteral("99999999999999"));
    EXPECT_EQ(harness.newNames(), (QStringList{QStringLiteral("a_002147483647.jpg"),
                                               QStringLiteral("a_002147483648.jpg")}));
}

TEST_F(NamingTest, RandomPrefixKeepsItsLettersUntilTheNextRebuild) {
    start({"a_1.jpg", "a_2.jpg", "a_3.jpg"});
    f.Text1.setText(QStringLiteral("abc."));
    f.Check5.setValue(1);
    const QStringList first = harness.newNames();
    for (const QString& name : first) {
        EXPECT_EQ(name.size(), QStringLiteral("XYZ.1.jpg").size()) << name.toStdString();
        EXPECT_TRUE(name.at(0).isLetter() && name.at(1).isLetter() && name.at(2).isLetter());
        EXPECT_EQ(name.mid(3, 1), QStringLiteral("."));
    }
    EXPECT_NE(first.at(0), first.at(1));
    f.Check3.setValue(1);
    f.Check3.setValue(0);
    EXPECT_EQ(harness.newNames(), first);
    // Unchecking a row draws no letters for it, so the rows below it change.
    f.LV.userSetChecked(1, false);
    EXPECT_EQ(harness.newNames().at(1).left(3), first.at(0).left(3));
}

TEST_F(NamingTest, AttributeModeShowsTheMasksOfCheckedRows) {
    start({"a_1.jpg", "a_2.jpg"});
    f.LV.userSetChecked(2, false);
    f.Check6.setValue(1);
    EXPECT_EQ(harness.newNames(), (QStringList{QStringLiteral("*-*-*-*"), QString()}));
    f.Check6.setValue(0);
    EXPECT_EQ(harness.newNames().at(0), QStringLiteral("a_1.jpg"));
}

TEST_F(NamingTest, ExecuteIsEnabledExactlyWhenFilesAreListed) {
    start({});
    EXPECT_FALSE(f.Command1.enabled());
    harness.photos.write("a.jpg");
    harness.window().RebuildFileList();
    f.LV.userSetChecked(1, false);
    EXPECT_TRUE(f.Command1.enabled());
}

}  // namespace
}  // namespace quillet::test
