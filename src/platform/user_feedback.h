#pragma once

#include <QString>

namespace quillet {

enum class MessageIcon { None, Stop, Question, Exclamation };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// What asks something of the person at the screen: modal boxes, the beep, the focus.
class UserFeedback {
  public:
    virtual ~UserFeedback() = default;
    // A modal box over the main window; the first button is the default one.
    virtual MessageAnswer messageBox(const QString& text, const QString& title, MessageIcon icon,
                                     MessageButtons buttons) = 0;
    virtual void beep() = 0;
    // Gives the keyboard focus to the control of this name.
    virtual void setFocus(const QString& controlName) = 0;
};

}  // namespace quillet
