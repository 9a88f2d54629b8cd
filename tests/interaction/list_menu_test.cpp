#include <gtest/gtest.h>

#include "support/window_harness.h"

namespace quillet::test {
namespace {

class ListMenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"a_1.jpg", "a_2.jpg", "a_3.jpg"}) harness.photos.write(name);
        harness.startOnPhotos();
        f.mform.menu_top.Show = [this](PopupMenu& menu) {
            ++shown;
            if (choice >= 0) menu.choose(choice);
        };
    }
    // Opens the menu with the right button and picks the entry at `position`.
    void pick(int position) {
        choice = position;
        f.LV.MouseUp(2, 0, 0, 0);
    }
    std::vector<bool> checks() {
        std::vector<bool> marks;
        for (int i = 1; i <= f.LV.rowCount(); ++i) marks.push_back(f.LV.row(i).checked);
        return marks;
    }
    std::vector<bool> selection() {
        std::vector<bool> marks;
        for (int i = 1; i <= f.LV.rowCount(); ++i) marks.push_back(f.LV.row(i).selected);
        return marks;
    }

    WindowHarness harness;
    Form1& f = harness.form();
    int shown = 0;
    int choice = -1;
};

TEST_F(ListMenuTest, OnlyTheRightButtonOpensTheMenu) {
    f.LV.MouseUp(1, 0, 0, 0);
    f.LV.MouseUp(4, 0, 0, 0);
    EXPECT_EQ(shown, 0);
    f.LV.MouseUp(2, 0, 0, 0);
    EXPECT_EQ(shown, 1);
}

TEST_F(ListMenuTest, SelectAllThenUncheckEmptiesEveryNewName) {
    pick(0);
    EXPECT_EQ(selection(), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(checks(), (std::vector<bool>{true, true, true}));
    pick(4);
    EXPECT_EQ(checks(), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(harness.newNames(), (QStringList{QString(), QString(), QString()}));
    EXPECT_EQ(selection(), (std::vector<bool>{true, true, true}));
}

TEST_F(ListMenuTest, InvertingTheSelectionTwiceRestoresIt) {
    f.LV.setSelected(2, true);
    pick(1);
    EXPECT_EQ(selection(), (std::vector<bool>{true, false, true}));
    pick(1);
    EXPECT_EQ(selection(), (std::vector<bool>{false, true, false}));
}

TEST_F(ListMenuTest, CheckCommandsActOnSelectedRowsOnlyAndRecompute) {
    f.LV.setSelected(1, true);
    f.LV.setSelected(3, true);
    pick(5);  // invert
    EXPECT_EQ(checks(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(harness.newNames(), (QStringList{QString(), QStringLiteral("a_1.jpg"), QString()}));
    pick(3);  // check
    EXPECT_EQ(checks(), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(selection(), (std::vector<bool>{true, false, true}));
}

TEST_F(ListMenuTest, InvertingWithNothingSelectedStillRecomputes) {
    f.LV.setCell(1, ListColumn::NewName, QStringLiteral("stale"));
    pick(5);
    EXPECT_EQ(checks(), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(harness.newNames().at(0), QStringLiteral("a_1.jpg"));
}

TEST_F(ListMenuTest, TheSeparatorDoesNothing) {
    pick(2);
    EXPECT_EQ(checks(), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(selection(), (std::vector<bool>{false, false, false}));
}

}  // namespace
}  // namespace quillet::test
