#pragma once

#include "ui/form1.h"
#include "ui/window_methods.h"

namespace quillet {

// Switches between renaming and setting the attributes of the checked files.
class AttributeMode {
  public:
    AttributeMode(Form1& form, WindowMethods& window);

    void Check6_Click();

  private:
    Form1& m_form;
    WindowMethods& m_window;
};

}  // namespace quillet
