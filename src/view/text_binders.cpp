#include <QLineEdit>
#include <QPlainTextEdit>

#include "ui/text_box.h"
#include "view/binding.h"
#include "view/control_binders.h"
#include "view/interface_font.h"
#include "view/window_layout.h"

namespace quillet {

namespace {

QString ForDisplay(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

}  // namespace

void BindTextBox(Binding& binding, TextBox& textBox, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    binding.layout().add(textBox, edit, WindowLayout::Anchor::Fixed);
    auto sync = binding.follow(textBox, [&binding, &textBox, edit] {
        // Rewriting an unchanged text would move the caret while the user types.
        if (edit->text() != textBox.text()) edit->setText(textBox.text());
        edit->setReadOnly(textBox.readOnly());
        binding.showCommon(textBox, edit);
    });
    // Typing, pasting, an input method and assistive technology all end in textChanged.
    binding.onChange(edit, &QLineEdit::textChanged, [&textBox, sync](const QString& text) {
        textBox.setText(text);
        sync();
    });
}

void BindMultiLineText(Binding& binding, TextBox& textBox, QWidget* parent) {
    auto* edit = new QPlainTextEdit(parent);
    edit->setFont(HelpTextFont());
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setTabChangesFocus(true);
    binding.layout().add(textBox, edit, WindowLayout::Anchor::Grow);
    auto sync = binding.follow(textBox, [&binding, &textBox, edit] {
        // Setting the text lays out every line of it in its face, and the box is the help
        // sheet's, parked below the window when it opens: the text waits for the first frame.
        binding.whenDrawn(
            [&textBox, edit] {
                const QString shown = ForDisplay(textBox.text());
                if (edit->toPlainText() != shown) edit->setPlainText(shown);
            },
            edit);
        edit->setReadOnly(textBox.readOnly());
        binding.showCommon(textBox, edit);
    });
    binding.onChange(edit, &QPlainTextEdit::textChanged, [&textBox, edit, sync] {
        // A locked text takes nothing from the screen; whatever changed it is undone.
        if (textBox.readOnly()) return sync();
        QString text = edit->toPlainText();
        text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        textBox.setText(text);
        sync();
    });
}

}  // namespace quillet
