#include <gtest/gtest.h>

#include "support/window_harness.h"

namespace quillet::test {
namespace {

class ModeSwitchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"IMG_0001.jpg", "IMG_0002.jpg", "clip.gif", "notes.txt"})
            harness.photos.write(name);
        harness.startOnPhotos();
    }
    std::vector<bool> frames() {
        return {f.Frame2.visible(), f.Frame3.visible(), f.Frame4.visible(), f.Frame5.visible()};
    }
    WindowHarness harness;
    Form1& f = harness.form();
};

TEST_F(ModeSwitchTest, EnteringExtendedModeSetsEveryPropertyAndListsTheFreePattern) {
    f.TabStrip1.userSelect(2);
    f.Command3.click();
    EXPECT_EQ(f.Command3.caption(), QStringLiteral("標準"));
    EXPECT_EQ(f.Command3.toolTip(), QStringLiteral("標準の機能に戻します"));
    EXPECT_TRUE(f.Text4.visible());
    EXPECT_FALSE(f.Text3.readOnly());
    EXPECT_EQ(f.SBar.panel(1).bevel, Bevel::Raised);
    EXPECT_EQ(f.SBar.mousePointer(), MousePointer::Hand);
    EXPECT_EQ(f.SBar.toolTip(), QString::fromUtf8("クリックで開くフォルダを指定します"));
    EXPECT_EQ(f.TabStrip1.selectedIndex(), 3);
    EXPECT_EQ(frames(), (std::vector<bool>{false, false, true, true}));
    EXPECT_EQ(f.Command1.caption(), QStringLiteral("実行"));
    EXPECT_EQ(f.Command1.toolTip(), QStringLiteral("処理を実行します"));
    EXPECT_EQ(f.Command2.caption(), QStringLiteral("キャンセル／終了"));
    EXPECT_EQ(f.LV.rowCount(), 4);
    const Twips combo = f.Combo1.geometry(), pattern = f.Text4.geometry();
    EXPECT_EQ(std::tie(combo.left, combo.top, combo.width, combo.height),
              std::tie(pattern.left, pattern.top, pattern.width, pattern.height));
}

TEST_F(ModeSwitchTest, ReturningRestoresStandardModeAndForgetsTheRandomPrefix) {
    EXPECT_EQ(f.Command1.toolTip(), QStringLiteral("名前を変更して終了します"));
    f.Command3.click();
    f.Text3.setText(QStringLiteral("png"));
    f.Text4.setText(QStringLiteral("*.gif"));
    f.Check5.setValue(1);
    f.Command3.click();
    EXPECT_EQ(f.Command3.caption(), QStringLiteral("拡張"));
    EXPECT_EQ(f.Command3.toolTip(), QStringLiteral("上級者用機能に拡張できます"));
    EXPECT_FALSE(f.Text4.visible());
    EXPECT_TRUE(f.Text3.readOnly());
    EXPECT_EQ(f.Text3.text(), QStringLiteral("jpg"));
    EXPECT_EQ(f.SBar.panel(1).bevel, Bevel::Inset);
    EXPECT_EQ(f.SBar.mousePointer(), MousePointer::Default);
    EXPECT_TRUE(f.SBar.toolTip().isEmpty());
    EXPECT_EQ(f.TabStrip1.selectedIndex(), 1);
    EXPECT_EQ(frames(), (std::vector<bool>{true, false, false, false}));
    EXPECT_EQ(f.Command1.caption(), QStringLiteral("実 行 ／ 終 了"));
    EXPECT_EQ(f.Command1.toolTip(), QStringLiteral("処理を実行して終了します"));
    EXPECT_EQ(f.Command2.caption(), QStringLiteral("キャンセル"));
    EXPECT_EQ(f.Check5.value(), 0);
    EXPECT_EQ(harness.newNames(),
              (QStringList{QStringLiteral("IMG_1.jpg"), QStringLiteral("IMG_2.jpg")}));
    // The free pattern is kept for the next visit.
    f.Command3.click();
    EXPECT_EQ(f.Text4.text(), QStringLiteral("*.gif"));
    EXPECT_EQ(f.LV.rowCount(), 1);
}

TEST_F(ModeSwitchTest, TheThirdTabIsRefusedInStandardMode) {
    f.TabStrip1.userSelect(2);
    f.TabStrip1.userSelect(3);
    EXPECT_EQ(f.TabStrip1.selectedIndex(), 2);
    EXPECT_EQ(frames(), (std::vector<bool>{false, true, false, false}));
    f.TabStrip1.userSelect(1);
    EXPECT_EQ(frames(), (std::vector<bool>{true, false, false, false}));
}

TEST_F(ModeSwitchTest, TheThirdTabSelectedFromCodeWithoutANoticeFallsBackToTheFirst) {
    f.TabStrip1.select(3);
    EXPECT_EQ(f.TabStrip1.selectedIndex(), 1);
    EXPECT_EQ(frames(), (std::vector<bool>{true, false, false, false}));
}

}  // namespace
}  // namespace quillet::test
