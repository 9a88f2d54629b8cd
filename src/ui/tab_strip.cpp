#include "ui/tab_strip.h"

#include <utility>

namespace quillet {

TabStrip::TabStrip(QString name) : Control(std::move(name)) {}

void TabStrip::addTab(Tab tab) {
    m_tabs.push_back(std::move(tab));
    notifyView();
}

void TabStrip::select(int index) {
    if (index == m_selected || index < 1 || index > tabCount()) return;
    m_selected = index;
    notifyView();
    Raise(Click);
}

void TabStrip::userSelect(int index) {
    if (index == m_selected || index < 1 || index > tabCount()) return;
    bool cancel = false;
    Raise<bool&>(BeforeClick, cancel);
    if (cancel) {
        notifyView();  // the view may already show the refused tab
        return;
    }
    select(index);
}

}  // namespace quillet
