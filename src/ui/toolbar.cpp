#include "ui/toolbar.h"

#include <utility>

namespace quillet {

Toolbar::Toolbar(QString name) : Control(std::move(name)) {}

void Toolbar::addButton(ToolbarButton button) {
    m_buttons.push_back(std::move(button));
    notifyView();
}

void Toolbar::setButtonValue(int index, int value) {
    auto& button = m_buttons.at(static_cast<size_t>(index - 1));
    if (button.value == value) return;
    button.value = value;
    notifyView();
}

void Toolbar::setButtonToolTip(int index, const QString& toolTip) {
    auto& button = m_buttons.at(static_cast<size_t>(index - 1));
    if (button.toolTip == toolTip) return;
    button.toolTip = toolTip;
    notifyView();
}

void Toolbar::userClick(int index) {
    if (button(index).twoState) setButtonValue(index, button(index).value == 1 ? 0 : 1);
    Raise(ButtonClick, index);
}

}  // namespace quillet
