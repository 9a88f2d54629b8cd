#pragma once

#include "platform/user_feedback.h"
#include "ui/form1.h"
#include "ui/window_methods.h"

namespace quillet {

// The checks in front of a recomputation: the prefix must be usable in a file name, and the
// use-original-value option is withdrawn when it would give neighbours the same name.
class InputChecks {
  public:
    InputChecks(Form1& form, UserFeedback& feedback, WindowMethods& window);

    void Text1_Change();
    void Check1_Click();

  private:
    bool neighboursShareAName() const;

    Form1& m_form;
    UserFeedback& m_feedback;
    WindowMethods& m_window;
};

// Whether the text holds one of the characters a prefix may not contain.
bool HasForbiddenCharacter(const QString& text);

}  // namespace quillet
