#include <gtest/gtest.h>

#include "naming/new_name.h"
#include "naming/numbers.h"
#include "preview/rename_preview.h"
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
    EXPECT_EQ(ReadableFileName(f.LV.row(1).newName), shown);
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

// One writer gives row after row its name, as the naming pass does, under options that change
// what each part is made of; the rows come from a real listing, so that rows share their
// extension texts as they do in the list. Whatever it kept from the name before, each name and
// its bytes are those a writer of its own makes for the row alone.
TEST(NewNameWriter, WritesEachNameAsIfItWereTheFirst) {
    WindowHarness harness;
    for (const char* file :
         {"IMG_0001.jpg", "IMG_0002.jpg", "IMG_0003.JPG", "\xff_12.jpg", "a.\xfe",
          "\xe5\x86\x99\xe7\x9c\x9f"
          "9.jpg",
          "noext", "b_7.tar.jpg", "IMG_0004.jpg"})
        harness.photos.write(file);
    harness.startOnPhotos();
    Form1& f = harness.form();
    f.Command3.click();
    f.Text4.setText(QStringLiteral("*"));
    ASSERT_EQ(f.LV.rowCount(), 9);

    const auto typed = [](QString prefix, QString extension) {
        NamingOptions options;
        options.prefixText = std::move(prefix);
        options.extensionText = std::move(extension);
        options.width = 3;
        return options;
    };
    std::vector<NamingOptions> settings = {
        typed(QStringLiteral("trip_"), QStringLiteral("jpg")),
        typed(QString::fromUtf8("\xe5\x86\x99\xe7\x9c\x9f_"), QStringLiteral("jpg")),
        typed(QStringLiteral("x"), QString()),
        typed(QString::fromUtf8("caf\xc3\xa9_"), QString::fromUtf8("\xc3\xa9")),
        typed(QStringLiteral("nul") + QChar(0), QStringLiteral("jpg")),
        typed(QString(QChar(0xD800)), QStringLiteral("jpg")),   // a lone half of a pair
        typed(QString(QChar(0xDCFF)), QString(QChar(0xDCFE))),  // stand-ins typed in
    };
    for (int flags = 1; flags < 16; ++flags) {
        NamingOptions options = typed(QStringLiteral("p."), QStringLiteral("png"));
        options.useOriginalValue = flags & 1;
        options.useOriginalPrefix = flags & 2;
        options.useOriginalExtension = flags & 4;
        options.randomPrefix = flags & 8;
        options.randomCount = 1;
        options.dotSuffix = QStringLiteral(".");
        settings.push_back(options);
    }

    // Random letters are written into the same text for every row, as the pass may.
    QString letters = QStringLiteral("Q");
    NewNameWriter writer;
    int written = 0;
    const auto check = [&](const NamingOptions& options, int row, std::int64_t counter) {
        letters[0] = QLatin1Char(static_cast<char>('A' + written++ % 26));
        const ZeroPadded digits(static_cast<double>(counter), options.width);
        writer.compose(f.LV.row(row), options, digits.text(), letters);
        const QString alone = ComposeNewName(f.LV.row(row), options, counter, letters);
        ASSERT_EQ(writer.text(), alone) << "row " << row << ", counter " << counter;
        ASSERT_EQ(writer.bytes(), FileNameBytes(alone)) << "row " << row;
    };
    // Options by options, and rows by rows: the same parts for many names in a row, and new
    // parts for every name. The counters step by one and past a power of ten.
    for (const NamingOptions& options : settings) {
        for (int row = 1; row <= f.LV.rowCount(); ++row) {
            for (const std::int64_t counter : {7, 8, 999, 1000, 1001}) check(options, row, counter);
        }
    }
    for (int row = 1; row <= f.LV.rowCount(); ++row) {
        for (const NamingOptions& options : settings) check(options, row, row * 11);
    }
}

}  // namespace
}  // namespace quillet::test
