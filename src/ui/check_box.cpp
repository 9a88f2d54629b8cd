#include "ui/check_box.h"

#include <utility>

namespace quillet {

CheckBox::CheckBox(QString name, QString caption, QString toolTip)
    : Control(std::move(name), std::move(caption), std::move(toolTip)) {}

void CheckBox::setValue(int value) {
    if (value == m_value) return;
    m_value = value;
    notifyView();
    Raise(Click);
}

}  // namespace quillet
