// What a rename cut short by a crash leaves in a folder, found and put right by the next
// start-up or listing of that folder, and never confused with a user's own file.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "platform/case_detour_name.h"
#include "platform/linux/linux_file_system.h"
#include "platform/linux/rename_leftovers.h"
#include "preview/rename_preview.h"
#include "support/window_harness.h"

namespace quillet::test {
namespace {

class LeftoverTest : public ::testing::Test {
  protected:
    QStringList listed() { return harness.fileNames(); }

    WindowHarness harness;
    TempFolder& photos = harness.photos;
};

TEST_F(LeftoverTest, AFileParkedUnderADetourNameGetsItsOldNameBackAtStartUp) {
    photos.write(CaseDetourName("IMG_0001.JPG", 0), "the photo");
    photos.write(CaseDetourName("noext", 3), "no extension");
    harness.startOnPhotos();
    EXPECT_EQ(photos.names(), (QList<QByteArray>{"IMG_0001.JPG", "noext"}));
    EXPECT_EQ(photos.read("IMG_0001.JPG"), "the photo");
    EXPECT_EQ(photos.read("noext"), "no extension");
    EXPECT_TRUE(listed().contains(QStringLiteral("IMG_0001.JPG")));
}

TEST_F(LeftoverTest, AListingOfTheSameFolderLaterPutsItRightToo) {
    photos.write("a.jpg", "a");
    harness.startOnPhotos();
    harness.form().Command3.click();  // extended mode lists afresh on a new pattern
    photos.write(CaseDetourName("b.jpg", 0), "b");
    harness.form().Text4.setText(QStringLiteral("*.jpg"));
    EXPECT_EQ(photos.names(), (QList<QByteArray>{"a.jpg", "b.jpg"}));
}

TEST_F(LeftoverTest, WhereTheOldNameIsTakenTheFileStaysInSightAndItsRowSaysWhy) {
    const QByteArray detour = CaseDetourName("IMG_0001.JPG", 0);
    photos.write(detour, "the photo");
    photos.write("IMG_0001.JPG", "another file saved meanwhile");
    harness.startOnPhotos();
    EXPECT_EQ(photos.read(detour), "the photo");
    EXPECT_EQ(photos.read("IMG_0001.JPG"), "another file saved meanwhile");
    const int row = static_cast<int>(listed().indexOf(QString::fromUtf8(detour))) + 1;
    ASSERT_GT(row, 0) << listed().join(u' ').toStdString();
    const QString tip = RowToolTipText(harness.form(), row);
    EXPECT_TRUE(tip.contains(QStringLiteral("途中で止まった"))) << tip.toStdString();
    EXPECT_TRUE(tip.contains(QStringLiteral("IMG_0001.JPG"))) << tip.toStdString();
}

TEST_F(LeftoverTest, AClaimedPlaceholderIsRemovedAndLookalikesAreKept) {
    photos.write("claimed.jpg", ClaimContent());
    photos.write(".claimed-hidden", ClaimContent());
    const QByteArray empty = photos.write("crashed-before-marking.jpg");
    ::chmod(empty.constData(), 0);
    // The user's own files: same size other bytes, empty with permissions, and the mark under
    // two names.
    photos.write("same-size.jpg", QByteArray(ClaimContent().size(), 'x'));
    photos.write("empty.jpg");
    // Without permissions but readable to this test's root, so its bytes are compared.
    const QByteArray sealed =
        photos.write("sealed-same-size.jpg", QByteArray(ClaimContent().size(), 'y'));
    ::chmod(sealed.constData(), 0);
    const QByteArray twice = photos.write("twice.jpg", ClaimContent());
    ASSERT_EQ(::link(twice.constData(), photos.pathOf("twice-too.jpg").constData()), 0);
    harness.startOnPhotos();
    QList<QByteArray> kept{"empty.jpg", "same-size.jpg", "twice-too.jpg", "twice.jpg"};
    if (::geteuid() == 0) kept.insert(2, "sealed-same-size.jpg");
    EXPECT_EQ(photos.names(), kept);
}

// Where the file system keeps no modes (exFAT, FAT), a placeholder cut short before its text
// looks like any empty file; its notice alone says what it is.
TEST_F(LeftoverTest, AnEmptyPlaceholderGoesWithItsNoticeAndAnnouncedFilesStay) {
    photos.write("q1.jpg");  // empty, with the modes such a file system shows
    photos.write(ClaimNoticeName("q1.jpg"));
    photos.write("q2.jpg", "the photo, renamed before the notice could go");
    photos.write(ClaimNoticeName("q2.jpg"));
    photos.write(ClaimNoticeName("q3.jpg"));  // cut short before the claim
    photos.write("empty.jpg");                // the user's own, announced by nothing
    harness.startOnPhotos();
    EXPECT_EQ(photos.names(), (QList<QByteArray>{"empty.jpg", "q2.jpg"}));
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("empty.jpg"), QStringLiteral("q2.jpg")}));
}

TEST_F(LeftoverTest, AFileLeftWithTwoNamesByASecondLinkKeepsTheNewOne) {
    const QByteArray old = photos.write("p1.jpg", "the photo");
    if (::setxattr(old.constData(), "user.quillet.renamed-from", "p1.jpg", 6, 0) != 0)
        GTEST_SKIP() << "the temporary file system keeps no user xattrs";
    ASSERT_EQ(::link(old.constData(), photos.pathOf("q1.jpg").constData()), 0);
    // Two names of one file that the program did not make stay as they are.
    const QByteArray mine = photos.write("mine.jpg", "user's own link");
    ASSERT_EQ(::link(mine.constData(), photos.pathOf("mine-too.jpg").constData()), 0);
    harness.startOnPhotos();
    EXPECT_EQ(photos.names(), (QList<QByteArray>{"mine-too.jpg", "mine.jpg", "q1.jpg"}));
    EXPECT_EQ(photos.read("q1.jpg"), "the photo");
    char value[64];
    EXPECT_LT(::getxattr(photos.pathOf("q1.jpg").constData(), "user.quillet.renamed-from", value,
                         sizeof value),
              0);
}

TEST(CaseDetourName, KeepsTheOldNameRecoverably) {
    for (const QByteArray& name :
         {QByteArray("IMG_0001.JPG"), QByteArray("a.tar.gz"), QByteArray("noext"),
          QByteArray("x~quillet-case~.jpg"), QByteArray("\xff\xfe.jpg"), QByteArray("a.")}) {
        for (const int attempt : {0, 1, 12}) {
            const QByteArray detour = CaseDetourName(name, attempt);
            EXPECT_FALSE(detour.startsWith('.'));
            EXPECT_EQ(CaseDetourOriginal(detour), name) << detour.constData();
            EXPECT_EQ(ClaimNoticeClaimed(detour), std::nullopt) << detour.constData();
        }
        const QByteArray notice = ClaimNoticeName(name);
        EXPECT_EQ(ClaimNoticeClaimed(notice), name) << notice.constData();
        EXPECT_EQ(CaseDetourOriginal(notice), std::nullopt) << notice.constData();
        EXPECT_EQ(ClaimNoticeClaimed(ClaimNoticeName(CaseDetourName(name, 0))),
                  CaseDetourName(name, 0));
    }
    for (const QByteArray& other :
         {QByteArray("IMG_0001.JPG"), QByteArray("~quillet-case~.jpg"),
          QByteArray("a~quillet-case"), QByteArray("a~quillet-case-0~.jpg"),
          QByteArray("a~quillet-case~.b.c"), QByteArray("a.b~quillet-case~")}) {
        EXPECT_EQ(CaseDetourOriginal(other), std::nullopt) << other.constData();
    }
}

}  // namespace
}  // namespace quillet::test
