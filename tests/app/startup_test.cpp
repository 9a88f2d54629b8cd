#include <gtest/gtest.h>

#include "platform/linux/linux_process.h"
#include "support/window_harness.h"

namespace quillet::test {
namespace {

QByteArray CurrentDirectory() {
    char buffer[4096];
    return ::getcwd(buffer, sizeof buffer) ? QByteArray(buffer) : QByteArray();
}

TEST(Startup, WithoutArgumentWorksOnTheCurrentFolder) {
    WindowHarness harness;
    harness.photos.write("IMG_0001.jpg");
    ASSERT_EQ(::chdir(harness.photos.path().constData()), 0);
    harness.load({});
    EXPECT_EQ(harness.form().SBar.panel(1).text, QString::fromUtf8(harness.photos.path()));
    EXPECT_EQ(harness.form().LV.rowCount(), 1);
    EXPECT_EQ(harness.form().Text3.text(), QStringLiteral("jpg"));
    EXPECT_EQ(harness.form().Combo1.listIndex(), 0);
}

TEST(Startup, MakesTheFolderCurrentAndListsIt) {
    WindowHarness harness;
    harness.photos.write("IMG_0001.jpg");
    harness.photos.write("IMG_0002.jpg");
    harness.startOnPhotos();
    EXPECT_EQ(CurrentDirectory(), harness.photos.path());
    EXPECT_EQ(harness.form().File1.path(), harness.photos.path());
    EXPECT_EQ(harness.form().SBar.panel(2).text, QStringLiteral("2files"));
    EXPECT_EQ(harness.newNames(),
              (QStringList{QStringLiteral("IMG_1.jpg"), QStringLiteral("IMG_2.jpg")}));
}

// Started from `from` (a folder under the test's root) with the given arguments, the list
// shows the one file of the folder the arguments name.
struct RelativePathCase {
    const char* title;
    const char* from;
    std::vector<const char*> arguments;
    const char* listedFile;
};

class RelativePathTest : public ::testing::TestWithParam<RelativePathCase> {};

TEST_P(RelativePathTest, OpensExactlyTheFolderNamedFromTheCurrentFolder) {
    WindowHarness harness;
    TempFolder& root = harness.photos;
    root.write("root_1.jpg");
    root.makeFolder("photos");
    root.write("photos/lower_1.jpg");
    root.makeFolder("Photos");
    root.write("Photos/upper_1.jpg");
    root.makeFolder("summer trip");
    root.write("summer trip/trip_1.jpg");
    root.makeFolder("x");
    ASSERT_EQ(::chdir(root.pathOf(GetParam().from).constData()), 0);

    // The arguments come together as the program's own process object joins them.
    std::vector<char*> argv{const_cast<char*>("Quillex")};
    for (const char* argument : GetParam().arguments) argv.push_back(const_cast<char*>(argument));
    LinuxProcess process(static_cast<int>(argv.size()), argv.data());
    ASSERT_TRUE(harness.load(process.commandLine()));

    ASSERT_EQ(harness.form().LV.rowCount(), 1);
    EXPECT_EQ(harness.form().LV.row(1).text, QString::fromUtf8(GetParam().listedFile));
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, RelativePathTest,
    ::testing::Values(
        RelativePathCase{"LowerCaseBesideUpperCase", "", {"photos"}, "lower_1.jpg"},
        RelativePathCase{"UpperCaseBesideLowerCase", "", {"Photos"}, "upper_1.jpg"},
        RelativePathCase{"FromTheCurrentFolder", "", {"./photos"}, "lower_1.jpg"},
        RelativePathCase{"ThroughAParentStep", "x", {"../photos"}, "lower_1.jpg"},
        RelativePathCase{"DownAndUpAgain", "", {"x/../Photos"}, "upper_1.jpg"},
        RelativePathCase{"SeveralArgumentsJoinedByABlank", "", {"summer", "trip"}, "trip_1.jpg"},
        RelativePathCase{"MissingFallsBackToTheCurrentFolder", "", {"pictures"}, "root_1.jpg"},
        RelativePathCase{
            "OtherCaseOfTheFirstLetterIsNeverOpened", "", {"Summer", "trip"}, "root_1.jpg"}),
    [](const auto& info) { return std::string(info.param.title); });

TEST(Startup, AFolderThatDoesNotExistFallsBackToTheCurrentFolder) {
    WindowHarness harness;
    ASSERT_EQ(::chdir(harness.photos.path().constData()), 0);
    EXPECT_TRUE(harness.load(harness.photos.pathOf("missing")));
    EXPECT_EQ(harness.form().SBar.panel(1).text, QString::fromUtf8(harness.photos.path()));
    EXPECT_TRUE(harness.feedback.messages.empty());
}

TEST(Startup, APathNamingAFileIsShownButTheListStaysOnTheLaunchFolder) {
    WindowHarness harness;
    const QByteArray file = harness.photos.write("IMG_0001.jpg");
    const QByteArray launch = harness.form().File1.path();
    EXPECT_TRUE(harness.load(file));
    EXPECT_EQ(harness.form().SBar.panel(1).text, QString::fromUtf8(file));
    EXPECT_EQ(harness.form().File1.path(), launch);
}

TEST(Startup, AFolderWithBlanksGivenAsSeveralArgumentsIsFound) {
    WindowHarness harness;
    const QByteArray folder = harness.photos.makeFolder("summer  trip 2026");
    harness.photos.write("summer  trip 2026/DSC_0007.jpg");
    harness.load(folder);  // the arguments joined by single blanks keep the double blank
    EXPECT_EQ(harness.form().File1.path(), folder);
    EXPECT_EQ(harness.form().Text1.text(), QStringLiteral("DSC_"));
}

TEST(Startup, LaysOutColumnsFramesAndTheHiddenHelpPanel) {
    WindowHarness harness;
    harness.startOnPhotos();
    Form1& f = harness.form();
    EXPECT_FLOAT_EQ(f.LV.columnWidth(ListColumn::Text), f.LV.geometry().width / 2 - 150);
    EXPECT_FLOAT_EQ(f.LV.columnWidth(ListColumn::NewName), f.LV.geometry().width / 2 - 150);
    EXPECT_EQ(f.LV.columnWidth(ListColumn::OldFile), 0);
    EXPECT_EQ(f.Frame2.geometry().left, f.Frame3.geometry().left);
    EXPECT_EQ(f.Frame4.geometry().top, f.Frame3.geometry().top);
    EXPECT_EQ(f.Frame5.geometry().top, f.Frame4.geometry().top + f.Frame4.geometry().height);
    EXPECT_EQ(f.panel.geometry().top, f.outerHeight);
    EXPECT_EQ(f.panel.geometry().left, 0);
}

}  // namespace
}  // namespace quillet::test
