#pragma once

#include "ui/control.h"

namespace quillet {

// A check box with the states 0 (clear) and 1 (checked). A change of state, from code or by
// the user, raises Click once.
class CheckBox : public Control {
  public:
    CheckBox(QString name, QString caption, QString toolTip);

    int value() const { return m_value; }
    bool isOn() const { return m_value == 1; }
    void setValue(int value);

    std::function<void()> Click;

  private:
    int m_value = 0;
};

}  // namespace quillet
