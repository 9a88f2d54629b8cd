#pragma once

#include "ui/form1.h"
#include "ui/window_methods.h"

namespace quillet {

// The sort options, the reverse-order box, the file type and the free pattern.
class SortFilterControls {
  public:
    SortFilterControls(Form1& form, WindowMethods& window);

    void Option1_Click(int index);
    void Check2_Click();
    void Combo1_Click();
    void Text4_Change();

  private:
    Form1& m_form;
    WindowMethods& m_window;
};

}  // namespace quillet
