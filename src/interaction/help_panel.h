#pragma once

#include "ui/form1.h"

namespace quillet {

// The help sheet that slides up over the window and back down, frame by frame.
class HelpPanel {
  public:
    explicit HelpPanel(Form1& form);

    void Command4_Click();
    void Label2_Click(int index);

  private:
    int statusBarBottom() const;
    void placeAt(float top);

    Form1& m_form;
};

}  // namespace quillet
