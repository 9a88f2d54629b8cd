#include <gtest/gtest.h>
#include <unistd.h>

#include "support/window_harness.h"

namespace quillet::test {
namespace {

QByteArray CurrentDirectory() {
    char buffer[4096];
    return ::getcwd(buffer, sizeof buffer) ? QByteArray(buffer) : QByteArray();
}

class FolderPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        harness.photos.write("a_1.jpg");
        other = harness.photos.makeFolder("other");
        harness.photos.write("other/b_1.jpg");
        harness.photos.write("other/b_2.jpg");
        harness.startOnPhotos();
    }
    void clickStatusBar() {
        f.SBar.MouseDown(1, 0, 0, 0);
        bevelWhileDown = f.SBar.panel(1).bevel;
        f.SBar.MouseUp(1, 0, 0, 0);
        f.SBar.Click();
    }
    WindowHarness harness;
    Form1& f = harness.form();
    QByteArray other;
    Bevel bevelWhileDown = Bevel::Raised;
};

TEST_F(FolderPanelTest, StandardModeIgnoresTheStatusBar) {
    harness.folderPicker.answer = QString::fromUtf8(other);
    clickStatusBar();
    EXPECT_TRUE(harness.folderPicker.calls.empty());
    EXPECT_EQ(f.SBar.panel(1).bevel, Bevel::Inset);
}

TEST_F(FolderPanelTest, AChosenFolderIsListedAndBecomesCurrent) {
    f.Command3.click();
    harness.folderPicker.answer = QString::fromUtf8(other);
    clickStatusBar();
    EXPECT_EQ(bevelWhileDown, Bevel::Inset);
    EXPECT_EQ(f.SBar.panel(1).bevel, Bevel::Raised);
    ASSERT_EQ(harness.folderPicker.calls.size(), 1u);
    EXPECT_EQ(harness.folderPicker.calls[0].first,
              QStringLiteral("開くフォルダを指定してください。"));
    EXPECT_EQ(harness.folderPicker.calls[0].second, QString::fromUtf8(harness.photos.path()));
    EXPECT_EQ(f.SBar.panel(1).text, QString::fromUtf8(other));
    EXPECT_EQ(f.File1.path(), other);
    EXPECT_EQ(CurrentDirectory(), other);
    EXPECT_EQ(harness.fileNames(),
              (QStringList{QStringLiteral("b_1.jpg"), QStringLiteral("b_2.jpg")}));
}

TEST_F(FolderPanelTest, CancellingChangesNothing) {
    f.Command3.click();
    f.LV.userSetChecked(1, false);
    harness.folderPicker.answer.clear();
    clickStatusBar();
    EXPECT_EQ(f.File1.path(), harness.photos.path());
    EXPECT_FALSE(f.LV.row(1).checked);
}

TEST_F(FolderPanelTest, ChoosingTheSameFolderRebuildsTheList) {
    f.Command3.click();
    f.LV.userSetChecked(1, false);
    harness.folderPicker.answer = QString::fromUtf8(harness.photos.path());
    clickStatusBar();
    EXPECT_TRUE(f.LV.row(1).checked);
}

TEST_F(FolderPanelTest, AFolderThatCannotBeListedIsNotSwitchedTo) {
    f.Command3.click();
    harness.folderPicker.answer = QString::fromUtf8(harness.photos.pathOf("missing"));
    clickStatusBar();
    EXPECT_EQ(f.File1.path(), harness.photos.path());
    EXPECT_EQ(f.SBar.panel(1).text, QString::fromUtf8(harness.photos.path()));
    EXPECT_EQ(CurrentDirectory(), harness.photos.path());
}

TEST_F(FolderPanelTest, TheRootFolderKeepsItsSlash) {
    f.Command3.click();
    harness.folderPicker.answer = QStringLiteral("/");
    clickStatusBar();
    EXPECT_EQ(f.SBar.panel(1).text, QStringLiteral("/"));
    EXPECT_EQ(CurrentDirectory(), QByteArray("/"));
}

}  // namespace
}  // namespace quillet::test
