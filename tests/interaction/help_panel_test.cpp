#include <gtest/gtest.h>

#include "support/window_harness.h"

namespace quillet::test {
namespace {

class HelpPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        harness.startOnPhotos();
        f.panel.subscribe([this] { tops.push_back(f.panel.geometry().top); });
    }
    WindowHarness harness;
    Form1& f = harness.form();
    std::vector<float> tops;
};

TEST_F(HelpPanelTest, RisesFromTheStatusBarsBottomIn30TwipSteps) {
    f.Command4.click();
    ASSERT_EQ(tops.size(), 146u);  // 145 frames, then the final placement
    EXPECT_EQ(tops.front(), 4320);
    EXPECT_EQ(tops[1], 4290);
    EXPECT_EQ(tops[144], 0);
    EXPECT_EQ(f.panel.geometry().top, 0);
    EXPECT_EQ(f.panel.geometry().left, 0);
}

TEST_F(HelpPanelTest, EitherLabelLowersItBelowTheWindow) {
    for (int label = 0; label < 2; ++label) {
        f.Command4.click();
        tops.clear();
        f.Label2[static_cast<size_t>(label)].click();
        EXPECT_EQ(tops.front(), 0);
        EXPECT_EQ(tops[tops.size() - 2], 4320);
        EXPECT_EQ(f.panel.geometry().top, f.outerHeight);
    }
}

TEST_F(HelpPanelTest, RaisingAgainStartsFromTheStatusBar) {
    f.Command4.click();
    tops.clear();
    f.Command4.click();
    EXPECT_EQ(tops.front(), 4320);
    EXPECT_EQ(f.panel.geometry().top, 0);
}

TEST(HelpText, HasEighteenLinesEndedByCrLf) {
    const QString text = HelpText();
    EXPECT_EQ(text.count(QStringLiteral("\r\n")), 18);
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n")));
    EXPECT_TRUE(text.startsWith(QStringLiteral("標準の状態での使い方\r\n　①")));
    EXPECT_TRUE(text.contains(QStringLiteral("\r\n\"拡張\"される機能\r\n")));
    EXPECT_TRUE(
        text.contains(QStringLiteral("\r\n　　（単純なASCIコード順にも付番できます）\r\n")));
}

}  // namespace
}  // namespace quillet::test
