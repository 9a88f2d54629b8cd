#include "view/qt_user_feedback.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "ui/control.h"

namespace quillet {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Stop:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

MessageAnswer QtUserFeedback::messageBox(const QString& text, const QString& title,
                                         MessageIcon icon, MessageButtons buttons) {
    QMessageBox box(BoxIcon(icon), title, text, QMessageBox::NoButton, m_window);
    box.setObjectName(QStringLiteral("messageBox"));
    if (buttons == MessageButtons::YesNo) {
        QPushButton* yes = box.addButton(QMessageBox::Yes);
        QPushButton* no = box.addButton(QMessageBox::No);
        yes->setText(QString::fromUtf8("はい"));
        no->setText(QString::fromUtf8("いいえ"));
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
    } else {
        QPushButton* ok = box.addButton(QMessageBox::Ok);
        ok->setText(QStringLiteral("OK"));
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
    }
    box.exec();
    // What follows may run long without the event loop, a whole rename pass; without a
    // compositor the box's picture would stay over the window until then.
    if (m_window && m_window->isVisible()) m_window->window()->repaint();
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    return box.clickedButton() == box.button(QMessageBox::Yes) ? MessageAnswer::Yes
                                                               : MessageAnswer::No;
}

void QtUserFeedback::beep() {
    QApplication::beep();
}

void QtUserFeedback::setFocus(const QString& controlName) {
    if (!m_window) return;
    if (auto* widget = m_window->findChild<QWidget*>(controlName)) widget->setFocus();
}

}  // namespace quillet
