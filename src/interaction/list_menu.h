#pragma once

#include "ui/form1.h"
#include "ui/window_methods.h"

namespace quillet {

// The list's pop-up menu: select rows in bulk, and check, uncheck or invert the selected rows.
class ListMenu {
  public:
    ListMenu(Form1& form, WindowMethods& window);

    void LV_ItemCheck(int row);
    void LV_MouseUp(int button, int shift, float x, float y);
    void menu_select_Click(int index);
    void menu_check_Click(int index);

  private:
    Form1& m_form;
    WindowMethods& m_window;
};

}  // namespace quillet
