#pragma once

#include <vector>

#include "ui/control.h"

namespace quillet {

struct ToolbarButton {
    QString caption;
    QString toolTip;
    int value = 0;  // 1 pressed, 0 released
    // A two-state button stays pressed until clicked again; a plain one only clicks.
    bool twoState = true;
};

// A tool bar of buttons numbered from 1. A click on a two-state button flips its state first
// and then raises ButtonClick with its index, so the handler sees the new state.
class Toolbar : public Control {
  public:
    explicit Toolbar(QString name);

    void addButton(ToolbarButton button);
    int buttonCount() const { return static_cast<int>(m_buttons.size()); }
    const ToolbarButton& button(int index) const {
        return m_buttons.at(static_cast<size_t>(index - 1));
    }
    void setButtonValue(int index, int value);
    void setButtonToolTip(int index, const QString& toolTip);
    void userClick(int index);

    std::function<void(int index)> ButtonClick;

  private:
    std::vector<ToolbarButton> m_buttons;
};

}  // namespace quillet
