#include "view/interface_font.h"

#include <QFontDatabase>

namespace quillet {

namespace {

// MS UI Gothic at 9 points is what the window was laid out for.
constexpr int kPointSize = 9;

QFont pick(const QString& designFamily) {
    QString family = designFamily;
    if (!QFontDatabase::hasFamily(family)) {
        const QString fallback = QStringLiteral("Noto Sans CJK JP");
        if (QFontDatabase::hasFamily(fallback)) family = fallback;
    }
    QFont font(family, kPointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace

QFont interfaceFont() {
    return pick(QStringLiteral("MS UI Gothic"));
}

QFont helpTextFont() {
    return pick(QString::fromUtf8("ＭＳ Ｐゴシック"));
}

}  // namespace quillet
