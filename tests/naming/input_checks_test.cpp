#include <gtest/gtest.h>

#include "support/test_names.h"
#include "support/window_harness.h"

namespace quillet::test {
namespace {

const QString kForbiddenText = QStringLiteral("ファイル名に「 \\/:,;*?\"<>| 」は使えません");
const QString kDuplicateText =
    QStringLiteral("同じファイル名が生成されるため、元値指定を解除します");

class InputChecksTest : public ::testing::Test {
  protected:
    void start(std::initializer_list<const char*> files) {
        for (const char* name : files) harness.photos.write(name);
        harness.startOnPhotos();
        harness.feedback.messages.clear();
    }
    WindowHarness harness;
    Form1& f = harness.form();
};

class ForbiddenCharacterTest : public InputChecksTest,
                               public ::testing::WithParamInterface<char> {};

TEST_P(ForbiddenCharacterTest, RefusesThePrefixAndKeepsThePreviousNames) {
    start({"a_1.jpg"});
    const QStringList before = harness.newNames();
    const QString typed = QStringLiteral("ab") + QLatin1Char(GetParam());
    f.Text1.setText(typed);
    ASSERT_EQ(harness.feedback.messages.size(), 1u);
    EXPECT_EQ(harness.feedback.messages[0].text, kForbiddenText);
    EXPECT_EQ(harness.feedback.messages[0].title, QStringLiteral("ファイル名エラー"));
    EXPECT_EQ(harness.feedback.messages[0].icon, MessageIcon::Stop);
    EXPECT_EQ(harness.feedback.focused.back(), QStringLiteral("Text1"));
    EXPECT_FALSE(f.Command1.enabled());
    EXPECT_EQ(f.Text1.text(), typed);
    EXPECT_EQ(harness.newNames(), before);
}

INSTANTIATE_TEST_SUITE_P(Characters, ForbiddenCharacterTest,
                         ::testing::Values('\\', '/', ':', ',', ';', '*', '?', '"', '<', '>', '|'),
                         [](const auto& info) {
                             return TestNameFrom({&info.param, 1});
                         });

TEST_F(InputChecksTest, EachKeystrokeThatKeepsTheCharacterWarnsAgain) {
    start({"a_1.jpg"});
    f.Text1.setText(QStringLiteral("a/"));
    f.Text1.setText(QStringLiteral("a/b"));
    EXPECT_EQ(harness.feedback.messages.size(), 2u);
}

TEST_F(InputChecksTest, APrefixFromTheFolderItselfIsCheckedToo) {
    harness.photos.write("one,two_1.jpg");
    harness.startOnPhotos();
    ASSERT_FALSE(harness.feedback.messages.empty());
    EXPECT_EQ(harness.feedback.messages[0].text, kForbiddenText);
}

TEST_F(InputChecksTest, ClearingThePrefixRecomputesWhileAStartNumberIsThere) {
    start({"a_1.jpg"});
    f.Text1.setText(QStringLiteral("x"));
    f.Text2.setText(QString());  // the naming pass puts "1" back at once
    EXPECT_EQ(f.Text2.text(), QStringLiteral("1"));
    f.Text1.setText(QString());
    EXPECT_EQ(harness.feedback.beeps, 0);
    EXPECT_EQ(harness.newNames(), QStringList{QStringLiteral("1.jpg")});
}

TEST_F(InputChecksTest, BothTextsEmptyBeepsWithoutAMessage) {
    start({"a_1.jpg"});
    f.Text1.setText(QStringLiteral("x"));
    f.Check6.setValue(1);  // the attribute pass leaves an empty start number alone
    f.Text2.setText(QString());
    f.Text1.setText(QString());
    EXPECT_EQ(harness.feedback.beeps, 1);
    EXPECT_TRUE(harness.feedback.messages.empty());
    EXPECT_EQ(harness.feedback.focused.back(), QStringLiteral("Text1"));
    EXPECT_FALSE(f.Command1.enabled());
}

TEST_F(InputChecksTest, DuplicateNeighboursWithdrawTheOriginalValueOption) {
    start({"a.jpg", "b.jpg", "c_5.jpg"});
    f.Text1.setText(QStringLiteral("photo"));
    f.Check1.setValue(1);
    ASSERT_EQ(harness.feedback.messages.size(), 1u);
    EXPECT_EQ(harness.feedback.messages[0].text, kDuplicateText);
    EXPECT_EQ(harness.feedback.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(f.Check1.value(), 0);
    EXPECT_EQ(harness.newNames(),
              (QStringList{QStringLiteral("photo1.jpg"), QStringLiteral("photo2.jpg"),
                           QStringLiteral("photo3.jpg")}));
}

TEST_F(InputChecksTest, OnlyNeighboursAreCompared) {
    start({"a.jpg", "m_7.jpg", "z.jpg"});  // a.jpg and z.jpg, apart, both become photo.jpg
    f.Option1[0].select();
    f.Text1.setText(QStringLiteral("photo"));
    f.Check1.setValue(1);
    EXPECT_TRUE(harness.feedback.messages.empty());
    EXPECT_EQ(f.Check1.value(), 1);
}

TEST_F(InputChecksTest, NoWarningInAttributeMode) {
    start({"a.jpg", "b.jpg"});
    f.Check6.setValue(1);
    f.Check1.setValue(1);
    EXPECT_TRUE(harness.feedback.messages.empty());
    EXPECT_EQ(f.Check1.value(), 1);
}

}  // namespace
}  // namespace quillet::test
