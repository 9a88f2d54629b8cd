#include "interaction/list_menu.h"

namespace quillet {

namespace {
constexpr int kRightButton = 2;
}

ListMenu::ListMenu(Form1& form, WindowMethods& window) : m_form(form), m_window(window) {}

void ListMenu::LV_ItemCheck(int) {
    m_window.Check1_Click();
}

void ListMenu::LV_MouseUp(int button, int, float, float) {
    if (button == kRightButton) m_form.mform.menu_top.popup();
}

void ListMenu::menu_select_Click(int index) {
    auto& LV = m_form.LV;
    const int count = LV.rowCount();
    for (int i = 1; i <= count; ++i) LV.setSelected(i, index == 0 ? true : !LV.row(i).selected);
}

void ListMenu::menu_check_Click(int index) {
    auto& LV = m_form.LV;
    const int count = LV.rowCount();
    for (int i = 1; i <= count; ++i) {
        const ListRow& row = LV.row(i);
        if (!row.selected) continue;
        LV.setChecked(i, index == 0 ? true : index == 1 ? false : !row.checked);
    }
    // One recomputation for the whole command, not one per row.
    m_window.Check1_Click();
}

}  // namespace quillet
