#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/window_harness.h"

namespace quillet::test {
namespace {

class AttributeModeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        harness.photos.write("a_1.jpg");
        harness.photos.write("a_2.jpg");
        harness.startOnPhotos();
    }
    WindowHarness harness;
    Form1& f = harness.form();
};

TEST_F(AttributeModeTest, SwitchingOnAndOffRestoresTheNamingWindow) {
    const QStringList names = harness.newNames();
    f.Check6.setValue(1);
    EXPECT_EQ(f.LV.columnHeader(ListColumn::NewName), QStringLiteral("元の属性"));
    EXPECT_EQ(f.Frame3.caption(), QStringLiteral("属性の変更"));
    for (const auto& box : f.Check7) EXPECT_TRUE(box.visible());
    EXPECT_FALSE(f.Text1.enabled() || f.Text2.enabled() || f.Text3.enabled());
    EXPECT_EQ(harness.newNames(),
              (QStringList{QStringLiteral("*-*-*-*"), QStringLiteral("*-*-*-*")}));

    f.Check6.setValue(0);
    EXPECT_EQ(f.LV.columnHeader(ListColumn::NewName), QStringLiteral("新しいファイル名"));
    EXPECT_EQ(f.Frame3.caption(), QStringLiteral("名前の付け方"));
    for (const auto& box : f.Check7) EXPECT_FALSE(box.visible());
    EXPECT_TRUE(f.Text1.enabled() && f.Text2.enabled() && f.Text3.enabled());
    EXPECT_TRUE(f.Text3.readOnly());  // enabled again, still locked in standard mode
    EXPECT_EQ(harness.newNames(), names);
}

TEST_F(AttributeModeTest, RequestedAttributesSurviveTheToggles) {
    f.Check6.setValue(1);
    f.Check7[1].setValue(1);
    const QStringList masks = harness.newNames();
    EXPECT_EQ(harness.newNames(), masks);  // a request is no preview
    f.Check6.setValue(0);
    f.Check6.setValue(1);
    EXPECT_EQ(f.Check7[1].value(), 1);
}

TEST_F(AttributeModeTest, AVanishedFileShowsAnEmptyCell) {
    harness.photos.write("a_1.jpg");
    ::unlink(harness.photos.pathOf("a_2.jpg").constData());
    f.Check6.setValue(1);
    EXPECT_EQ(harness.newNames(), (QStringList{QStringLiteral("*-*-*-*"), QString()}));
}

TEST_F(AttributeModeTest, ClearingEveryRequestClearsReadOnlyAndKeepsTheRest) {
    ::chmod(harness.photos.pathOf("a_1.jpg").constData(), 0444);
    f.Check6.setValue(1);
    EXPECT_EQ(harness.newNames().at(0), QStringLiteral("R-*-*-*"));
    EXPECT_FALSE(harness.execute());
    struct stat st {};
    ::stat(harness.photos.pathOf("a_1.jpg").constData(), &st);
    EXPECT_NE(st.st_mode & 0200, 0u);
    EXPECT_EQ(st.st_mode & 0044, 0044u);
}

}  // namespace
}  // namespace quillet::test
