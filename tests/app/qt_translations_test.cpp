#include "app/qt_translations.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

namespace quillet {
namespace {

struct QtText {
    const char* context;
    const char* source;
    const char* japanese;
};

// Texts the user meets in Qt's own windows: the folder dialog, the text boxes' context menu and
// the buttons of dialogs.
const QtText kTexts[] = {
    {"QFileDialog", "Look in:", "アドレス:"},
    {"QPlatformTheme", "Cancel", "キャンセル"},
    {"QLineEdit", "&Copy", "コピー(&C)"},
    {"QLineEdit", "Select All", "すべてを選択"},
};

// The environment of the tests pins an English locale, as any user's may be.
TEST(QtTranslations, QtsOwnTextsAreJapaneseWhateverTheLocale) {
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    int argc = 1;
    char name[] = "quillet";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    for (const QtText& text : kTexts) {
        EXPECT_EQ(QCoreApplication::translate(text.context, text.source),
                  QString::fromLatin1(text.source));
    }
    ASSERT_TRUE(LoadQtJapanese(app)) << "Debian's qt6-translations-l10n is needed";
    for (const QtText& text : kTexts) {
        EXPECT_EQ(QCoreApplication::translate(text.context, text.source),
                  QString::fromUtf8(text.japanese))
            << text.context << " " << text.source;
    }
}

}  // namespace
}  // namespace quillet
