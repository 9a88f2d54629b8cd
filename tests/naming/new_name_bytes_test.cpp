#include <gtest/gtest.h>

#include "naming/new_name.h"
#include "rename/rename_preview.h"
#include "support/window_harness.h"
#include "util/file_name_text.h"

namespace quillet::test {
namespace {

// One file in a real folder, renamed in extended mode with the pattern "*.*", start "1", the
// typed prefix "trip_" and the typed extension "jpg" unless the file's own parts are reused.
struct OwnBytesCase {
    const char* title;
    QByteArray file;
    bool originalPrefix;
    bool originalExtension;
    QByteArray renamedTo;
};

class OwnBytesTest : public ::testing::TestWithParam<OwnBytesCase> {};

TEST_P(OwnBytesTest, ReusedPartsOfANameKeepTheirBytes) {
    WindowHarness harness;
    harness.photos.write(GetParam().file, "photo");
    harness.startOnPhotos();
    Form1& f = harness.form();
    f.Command3.click();
    f.Text4.setText(QStringLiteral("*.*"));
    f.Text1.setText(QStringLiteral("trip_"));
    f.Text3.setText(QStringLiteral("jpg"));
    f.Text2.setText(QStringLiteral("1"));
    f.Check3.setValue(GetParam().originalPrefix ? 1 : 0);
    f.Check4.setValue(GetParam().originalExtension ? 1 : 0);
    ASSERT_EQ(f.LV.rowCount(), 1);

    // The list shows what can be read; the rename uses the bytes.
    const QString shown = QString::fromUtf8(GetParam().renamedTo);
    EXPECT_EQ(ReadableFileName(f.LV.row(1).subItems[sub::NewName - 1]), shown);
    EXPECT_EQ(f.LV.row(1).text, QString::fromUtf8(GetParam().file));
    EXPECT_EQ(NewNameBytes(f.LV.row(1)), GetParam().renamedTo);
    EXPECT_EQ(RowToolTipText(f, 1), QString());

    ASSERT_TRUE(harness.execute());
    EXPECT_EQ(harness.photos.names(), QList<QByteArray>{GetParam().renamedTo});
    EXPECT_EQ(harness.photos.read(GetParam().renamedTo), QByteArray("photo"));
}

INSTANTIATE_TEST_SUITE_P(
    Names, OwnBytesTest,
    ::testing::Values(
        OwnBytesCase{"Latin1Prefix", "caf\xe9_0007.jpg", true, false, "caf\xe9_1.jpg"},
        OwnBytesCase{"LoneContinuationBytePrefix", "\x80photo_3.jpg", true, false,
                     "\x80photo_1.jpg"},
        OwnBytesCase{"Latin1Extension", "IMG_0001.j\xe9g", false, true, "trip_1.j\xe9g"},
        OwnBytesCase{"LoneContinuationByteExtension", "a_1.\x80", false, true, "trip_1.\x80"},
        OwnBytesCase{"BothParts", "\xe9t\xe9_5.\xff", true, true, "\xe9t\xe9_1.\xff"},
        OwnBytesCase{"ValidCharacterNextToInvalidBytes", "\xf0\x9f\x93\xb7\xe9_2.jpg", true, false,
                     "\xf0\x9f\x93\xb7\xe9_1.jpg"},
        OwnBytesCase{"TypedPartsAroundAnInvalidName", "caf\xe9_0007.jpg", false, false,
                     "trip_1.jpg"},
        // Each of the 200 bytes is one byte of the name, not the three of U+FFFD.
        OwnBytesCase{"LongLatin1PrefixStaysWithinTheLimit", QByteArray(200, '\xe9') + "_9.jpg",
                     true, false, QByteArray(200, '\xe9') + "_1.jpg"}),
    [](const auto& info) { return std::string(info.param.title); });

TEST(OwnBytes, AByteOrderMarkAtTheStartOfAReusedPrefixIsKept) {
    WindowHarness harness;
    harness.photos.write("\xef\xbb\xbfpic_4.jpg");
    harness.startOnPhotos();
    harness.form().Check3.setValue(1);
    EXPECT_EQ(NewNameBytes(harness.form().LV.row(1)), QByteArray("\xef\xbb\xbfpic_1.jpg"));
}

TEST(OwnBytes, TheProposedPrefixIsShownReadable) {
    WindowHarness harness;
    harness.photos.write("caf\xe9_0001.jpg");
    harness.photos.write("caf\xe9_0002.jpg");
    harness.startOnPhotos();
    EXPECT_EQ(harness.form().Text1.text(), QString::fromUtf8("caf\xef\xbf\xbd_"));
}

}  // namespace
}  // namespace quillet::test
