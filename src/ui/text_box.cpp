#include "ui/text_box.h"

#include <utility>

namespace quillet {

TextBox::TextBox(QString name, QString text, QString toolTip)
    : Control(std::move(name), {}, std::move(toolTip)), m_text(std::move(text)) {}

void TextBox::setText(const QString& text) {
    if (text == m_text) return;
    m_text = text;
    notifyView();
    Raise(Change);
}

void TextBox::setReadOnly(bool readOnly) {
    if (readOnly == m_readOnly) return;
    m_readOnly = readOnly;
    notifyView();
}

}  // namespace quillet
