#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/unprivileged.h"
#include "support/window_harness.h"

namespace quillet::test {
namespace {

class RenameTest : public ::testing::Test {
  protected:
    // Each file holds its own name, so a test can tell which file ended where.
    void start(std::initializer_list<const char*> files) {
        for (const char* name : files) harness.photos.write(name, name);
        harness.startOnPhotos();
    }
    void expectFile(const QByteArray& name, const QByteArray& originalName) {
        ASSERT_TRUE(harness.photos.exists(name)) << name.constData();
        EXPECT_EQ(harness.photos.read(name), originalName);
    }
    // Writes the new names straight into the list, as the naming pass would have.
    void setNewNames(const QStringList& names) {
        for (int i = 1; i <= names.size(); ++i)
            f.LV.setCell(i, ListColumn::NewName, names.at(i - 1));
    }

    WindowHarness harness;
    Form1& f = harness.form();
};

TEST_F(RenameTest, TypicalRunRenamesCheckedFilesInListOrderAndEnds) {
    start({"IMG_0003.jpg", "IMG_0001.jpg", "IMG_0002.jpg", "IMG_0004.jpg", "IMG_0005.jpg"});
    f.Text1.setText(QStringLiteral("trip_"));
    f.Text2.setText(QStringLiteral("001"));
    f.LV.userSetChecked(2, false);
    f.LV.userSetChecked(4, false);

    EXPECT_FALSE(harness.execute());

    ASSERT_EQ(harness.feedback.messages.size(), 1u);
    const ShownMessage& box = harness.feedback.messages.front();
    EXPECT_EQ(box.text,
              QStringLiteral(
                  "ファイル名を更新してよろしいですか？\n\r実行後は元に戻すことはできません。"));
    EXPECT_EQ(box.title, QStringLiteral("実行確認"));
    EXPECT_EQ(box.icon, MessageIcon::Question);
    EXPECT_EQ(box.buttons, MessageButtons::YesNo);
    expectFile("trip_001.jpg", "IMG_0001.jpg");
    expectFile("IMG_0002.jpg", "IMG_0002.jpg");
    expectFile("trip_002.jpg", "IMG_0003.jpg");
    expectFile("IMG_0004.jpg", "IMG_0004.jpg");
    expectFile("trip_003.jpg", "IMG_0005.jpg");
    EXPECT_EQ(harness.photos.names().size(), 5);
    EXPECT_EQ(harness.handshakeValue(), QStringLiteral("0"));
    EXPECT_EQ(harness.process.endCount, 1);
    EXPECT_TRUE(f.LV.row(1).selected);
    EXPECT_FALSE(f.LV.row(2).selected);
}

TEST_F(RenameTest, ADeclinedRunChangesNothingAndWritesNothing) {
    start({"a_1.jpg", "a_2.jpg"});
    harness.feedback.answer = MessageAnswer::No;
    EXPECT_TRUE(harness.execute());
    EXPECT_EQ(harness.photos.names(), (QList<QByteArray>{"a_1.jpg", "a_2.jpg"}));
    EXPECT_TRUE(harness.handshakeValue().isNull());
    EXPECT_FALSE(f.PB1.visible());
}

TEST_F(RenameTest, ExtendedModeStaysOpenAndListsTheNewNames) {
    start({"a_1.jpg", "a_2.jpg"});
    f.Command3.setCaption(QStringLiteral("標準"));
    f.Text1.setText(QStringLiteral("b_"));
    EXPECT_TRUE(harness.execute());
    EXPECT_EQ(harness.fileNames(),
              (QStringList{QStringLiteral("b_1.jpg"), QStringLiteral("b_2.jpg")}));
    EXPECT_EQ(harness.handshakeValue(), QStringLiteral("0"));
    EXPECT_EQ(harness.process.endCount, 0);
}

TEST_F(RenameTest, ASwapLeavesBothFilesWhereTheyWere) {
    start({"a.jpg", "b.jpg"});
    setNewNames({QStringLiteral("b.jpg"), QStringLiteral("a.jpg")});
    harness.execute();
    expectFile("a.jpg", "a.jpg");
    expectFile("b.jpg", "b.jpg");
}

TEST_F(RenameTest, AChainSucceedsOnlyInTheOrderThatFreesEachName) {
    start({"x1.jpg", "001.jpg"});
    f.Option1[0].select();  // name order: 001.jpg, x1.jpg
    setNewNames({QStringLiteral("002.jpg"), QStringLiteral("001.jpg")});
    harness.execute();
    expectFile("002.jpg", "001.jpg");
    expectFile("001.jpg", "x1.jpg");
}

TEST_F(RenameTest, AChainInTheBlockingOrderRenamesOnlyTheLast) {
    start({"x1.jpg", "001.jpg"});
    f.Option1[0].select();
    f.Check2.setValue(1);  // x1.jpg first
    setNewNames({QStringLiteral("001.jpg"), QStringLiteral("002.jpg")});
    harness.execute();
    expectFile("x1.jpg", "x1.jpg");
    expectFile("002.jpg", "001.jpg");
    EXPECT_EQ(harness.photos.names().size(), 2);
}

struct UnsafeCase {
    const char* title;
    const char* extension;
};

class UnsafeNameTest : public RenameTest, public ::testing::WithParamInterface<UnsafeCase> {};

TEST_P(UnsafeNameTest, ANewNameThatLeavesTheFolderIsRefused) {
    // A folder whose name the new name begins with, so that a "/" in the extension would
    // really move the file.
    harness.photos.makeFolder("a_1.");
    start({"a_1.jpg"});
    f.Command3.setCaption(QStringLiteral("標準"));
    f.Text3.setText(GetParam().extension ? QString::fromUtf8(GetParam().extension)
                                         : QString(300, QLatin1Char('j')));
    ASSERT_TRUE(f.LV.row(1).newName.startsWith(QStringLiteral("a_1.")));
    harness.execute();
    expectFile("a_1.jpg", "a_1.jpg");
    EXPECT_EQ(harness.photos.names(), (QList<QByteArray>{"a_1.", "a_1.jpg"}));
}

INSTANTIATE_TEST_SUITE_P(Extensions, UnsafeNameTest,
                         ::testing::Values(UnsafeCase{"IntoSubfolder", "/moved.jpg"},
                                           UnsafeCase{"OutOfTheFolder", "/../../escaped.jpg"},
                                           UnsafeCase{"TooLong", nullptr}),
                         [](const auto& info) { return std::string(info.param.title); });

TEST_F(RenameTest, APrefixRefusedEarlierCannotSneakASlashIntoANewName) {
    harness.photos.makeFolder("sub");
    start({"a_1.jpg"});
    harness.feedback.answer = MessageAnswer::Yes;
    f.Text1.setText(QStringLiteral("sub/"));  // refused, but kept in the box
    f.Check4.setValue(1);                     // any other change recomputes the names
    ASSERT_EQ(f.LV.row(1).newName, QStringLiteral("sub/1.jpg"));
    harness.execute();
    expectFile("a_1.jpg", "a_1.jpg");
    EXPECT_FALSE(harness.photos.exists("sub/1.jpg"));
}

TEST_F(RenameTest, NamesThatAreNotValidUtf8AreRenamedThroughTheirBytes) {
    const QByteArray raw("\xff\xfe_01.jpg");
    harness.photos.write(raw, "raw");
    harness.startOnPhotos();
    f.Text1.setText(QStringLiteral("ok_"));
    harness.execute();
    expectFile("ok_1.jpg", "raw");
    EXPECT_FALSE(harness.photos.exists(raw));
}

TEST_F(RenameTest, ALongNameWhoseNewNameWouldPassTheLimitStays) {
    const QByteArray longName = QByteArray(246, 'n') + "_001.jpg";  // 254 bytes
    harness.photos.write(longName, "long");
    harness.startOnPhotos();
    f.Check3.setValue(1);  // keeps the 247-byte prefix
    f.Text2.setText(QStringLiteral("000000000001"));
    harness.execute();
    expectFile(longName, "long");
}

TEST_F(RenameTest, FilesThatVanishOrAppearDuringThePassAreSkipped) {
    start({"a_1.jpg", "a_2.jpg", "a_3.jpg"});
    f.Text1.setText(QStringLiteral("n_"));
    harness.feedback.whileBoxIsOpen = [&] {
        ::unlink(harness.photos.pathOf("a_1.jpg").constData());
        harness.photos.write("n_2.jpg", "intruder");
    };
    harness.execute();
    expectFile("n_2.jpg", "intruder");
    expectFile("a_2.jpg", "a_2.jpg");
    expectFile("n_3.jpg", "a_3.jpg");
    EXPECT_EQ(harness.photos.names().size(), 3);
}

TEST_F(RenameTest, AReadOnlyFolderLosesNothingAndTheProgramStillEnds) {
    start({"a_1.jpg", "a_2.jpg"});
    f.Text1.setText(QStringLiteral("n_"));
    ::chmod(harness.photos.path().constData(), 0555);
    ::chmod(harness.config.path().constData(), 0777);
    // In a child without root's privileges, for whom the folder really is read-only.
    EXPECT_EXIT(
        {
            if (!DropRootPrivileges()) ::_exit(3);
            ::_exit(harness.execute() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
    ::chmod(harness.photos.path().constData(), 0755);
    EXPECT_EQ(harness.photos.names(), (QList<QByteArray>{"a_1.jpg", "a_2.jpg"}));
    EXPECT_EQ(harness.handshakeValue(), QStringLiteral("0"));
}

TEST_F(RenameTest, NamesWithControlCharactersAndNewlinesAreRenamed) {
    harness.photos.write("line\nbreak_1.jpg", "newline");
    harness.photos.write(QByteArray("tab\tand\x01_2.jpg"), "control");
    harness.startOnPhotos();
    f.Text1.setText(QStringLiteral("clean_"));
    harness.execute();
    EXPECT_EQ(harness.photos.names(), (QList<QByteArray>{"clean_1.jpg", "clean_2.jpg"}));
}

TEST_F(RenameTest, NamesThatDifferOnlyInCaseAreKeptApart) {
    start({"IMG_0001.jpg", "img_0001.JPG"});
    ASSERT_EQ(f.LV.rowCount(), 2);
    f.Text1.setText(QStringLiteral("p_"));
    harness.execute();
    expectFile("p_1.jpg", "IMG_0001.jpg");
    expectFile("p_2.jpg", "img_0001.JPG");
}

TEST_F(RenameTest, ProgressCountsEveryRowCheckedOrNot) {
    start({"a_1.jpg", "a_2.jpg", "a_3.jpg", "a_4.jpg"});
    for (int i = 2; i <= 4; ++i) f.LV.userSetChecked(i, false);
    std::vector<int> values;
    f.PB1.subscribe([&] {
        if (f.PB1.visible() && (values.empty() || values.back() != f.PB1.value()))
            values.push_back(f.PB1.value());
    });
    harness.execute();
    EXPECT_EQ(values, (std::vector<int>{0, 25, 50, 75, 100}));
}

TEST_F(RenameTest, AttributeRunSetsTheRequestedBitsOnCheckedFilesOnly) {
    start({"a_1.jpg", "a_2.jpg"});
    f.Check6.setValue(1);
    f.Check7[0].setValue(1);
    f.LV.userSetChecked(2, false);
    EXPECT_FALSE(harness.execute());
    EXPECT_TRUE(harness.feedback.messages.back().text.startsWith(
        QStringLiteral("属性を更新してよろしいですか？\n\r")));
    struct stat st {};
    ::stat(harness.photos.pathOf("a_1.jpg").constData(), &st);
    EXPECT_EQ(st.st_mode & 0222, 0u);
    ::stat(harness.photos.pathOf("a_2.jpg").constData(), &st);
    EXPECT_NE(st.st_mode & 0200, 0u);
    EXPECT_EQ(harness.photos.names(), (QList<QByteArray>{"a_1.jpg", "a_2.jpg"}));
    ::chmod(harness.photos.pathOf("a_1.jpg").constData(), 0644);
}

}  // namespace
}  // namespace quillet::test
