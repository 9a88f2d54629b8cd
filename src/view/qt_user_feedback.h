#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/user_feedback.h"

namespace quillet {

// Message boxes, the beep and keyboard focus on the main window.
class QtUserFeedback : public UserFeedback {
  public:
    // The window is made after the program's behaviour, which needs this object first.
    void attach(QWidget* window) { m_window = window; }

    MessageAnswer messageBox(const QString& text, const QString& title, MessageIcon icon,
                             MessageButtons buttons) override;
    void beep() override;
    // Focuses the widget that shows the control (widgets carry their control's name).
    void setFocus(const QString& controlName) override;

  private:
    QPointer<QWidget> m_window;
};

}  // namespace quillet
