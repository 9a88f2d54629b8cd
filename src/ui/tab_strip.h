#pragma once

#include <vector>

#include "ui/control.h"

namespace quillet {

struct Tab {
    QString caption;
    QString key;
    QString tag;
};

// Tabs numbered from 1. A change the user asks for is announced by BeforeClick (which may
// cancel it) while the old tab is still selected; every change of the selected tab, the
// user's or the program's, raises Click afterwards.
class TabStrip : public Control {
  public:
    explicit TabStrip(QString name);

    void addTab(Tab tab);
    int tabCount() const { return static_cast<int>(m_tabs.size()); }
    const Tab& tab(int index) const { return m_tabs.at(static_cast<size_t>(index - 1)); }
    int selectedIndex() const { return m_selected; }

    // The program selects a tab.
    void select(int index);
    // The user asks for a tab, by mouse or keyboard.
    void userSelect(int index);

    std::function<void(bool& cancel)> BeforeClick;
    std::function<void()> Click;

  private:
    std::vector<Tab> m_tabs;
    int m_selected = 1;
};

}  // namespace quillet
