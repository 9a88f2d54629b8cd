#include "view/interface_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace quillet {

namespace {

// MS UI Gothic at 9 points is what the window was laid out for.
constexpr int kPointSize = 9;

// Whether a font family is installed. QFontDatabase::hasFamily first runs the name through
// every substitution rule of fontconfig, which at start-up costs more than laying out the
// whole window; a substitute is not the face the window was laid out for anyway.
bool Installed(const QString& family) {
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

// The design face at its size, else the CJK face at `fallbackSize`.
QFont Pick(const QString& designFamily, qreal fallbackSize = kPointSize) {
    QString family = designFamily;
    qreal size = kPointSize;
    if (!Installed(family)) {
        const QString fallback = QStringLiteral("Noto Sans CJK JP");
        if (Installed(fallback)) {
            family = fallback;
            size = fallbackSize;
        }
    }
    QFont font(family);
    font.setPointSizeF(size);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace

QFont InterfaceFont() {
    return Pick(QStringLiteral("MS UI Gothic"));
}

QFont HelpTextFont() {
    // The design's face is proportional, Noto's kana and brackets take a full em each: at
    // this size the longest of the help's lines has the panel's width, beside its scroll bar.
    return Pick(QString::fromUtf8("ＭＳ Ｐゴシック"), 7.5);
}

}  // namespace quillet
