#include "util/file_name_text.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

// A name's bytes, and how the list shows them.
struct NameCase {
    const char* title;
    QByteArray bytes;
    QString shown;
};

class FileNameTextTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(FileNameTextTest, GivesBackEveryByteAndShowsWhatCanBeRead) {
    const QString text = FileNameText(GetParam().bytes);
    EXPECT_EQ(FileNameBytes(text), GetParam().bytes);
    std::string reused(300, 'x');  // what a longer name left behind
    WriteFileNameBytes(text, reused);
    EXPECT_EQ(QByteArray::fromStdString(reused), GetParam().bytes);
    const QString shown = ReadableFileName(text);
    EXPECT_EQ(shown, GetParam().shown);
    EXPECT_EQ(shown.size(), text.size()) << "parts of the name are found by their lengths";
}

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileNameTextTest,
    ::testing::Values(
        NameCase{"Ascii", "IMG_0001.jpg", U("IMG_0001.jpg")},
        NameCase{"Japanese", "写真_01.jpg", U("写真_01.jpg")},
        NameCase{"CameraEmojiIsAPairNotTwoBytes", "\xf0\x9f\x93\xb7.jpg", U("📷.jpg")},
        NameCase{"ReplacementCharacterItself", "\xef\xbf\xbd.jpg", U("\xef\xbf\xbd.jpg")},
        NameCase{"ByteOrderMark",
                 "\xef\xbb\xbf"
                 "a.jpg",
                 QChar(0xFEFF) + U("a.jpg")},
        NameCase{"Latin1", "caf\xe9.jpg", U("caf\xef\xbf\xbd.jpg")},
        NameCase{"JapaneseAfterEightAsciiCharacters", "IMG_0001_写真.jpg", U("IMG_0001_写真.jpg")},
        NameCase{"StandInAfterEightAsciiCharacters", "IMG_0001\x80", U("IMG_0001\xef\xbf\xbd")},
        NameCase{"LoneContinuationByte", "\x80.jpg", U("\xef\xbf\xbd.jpg")},
        NameCase{"CutCharacterBeforeADot", "\xe5\x86.jpg", U("\xef\xbf\xbd\xef\xbf\xbd.jpg")},
        NameCase{"OverlongSlash", "\xc0\xaf", U("\xef\xbf\xbd\xef\xbf\xbd")},
        NameCase{"EncodedSurrogate", "\xed\xa0\x80", U("\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd")},
        NameCase{"BeyondTheLastCharacter", "\xf4\x90\x80\x80",
                 U("\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd")},
        NameCase{"ValidBetweenInvalid", "\xff写\xfe", U("\xef\xbf\xbd写\xef\xbf\xbd")},
        NameCase{"EveryHighByte", QByteArray("\x80\x81\xbf\xc0\xc1\xf5\xfe\xff"),
                 U("\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"
                   "\xef\xbf\xbd\xef\xbf\xbd")},
        NameCase{"Empty", "", QString()}),
    [](const auto& info) { return std::string(info.param.title); });

TEST(FileNameText, TextNotMadeFromANameIsWrittenAsUtf8) {
    // Only a low surrogate that stands alone and in the range of bytes 0x80 to 0xFF is a byte.
    for (const QString& typed : {U("a.jpg"), U("📷"), QString(QChar(0xD83D)), QString(QChar(0xDC41)),
                                 QString(QChar(0xDD00))}) {
        EXPECT_EQ(FileNameBytes(typed), typed.toUtf8());
        std::string reused = "longer name.jpeg";
        WriteFileNameBytes(typed, reused);
        EXPECT_EQ(QByteArray::fromStdString(reused), typed.toUtf8());
    }
    const QString joined = FileNameText("\xe9") + QStringLiteral("_1.") + FileNameText("\x80");
    EXPECT_EQ(FileNameBytes(joined), QByteArray("\xe9_1.\x80"));
}

}  // namespace
}  // namespace quillet
