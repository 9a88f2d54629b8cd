#include "ui/combo_box.h"

#include <utility>

namespace quillet {

ComboBox::ComboBox(QString name, QStringList items, QString toolTip)
    : Control(std::move(name), {}, std::move(toolTip)), m_items(std::move(items)) {}

void ComboBox::setListIndex(int index) {
    if (index == m_listIndex || index < -1 || index >= m_items.size()) return;
    m_listIndex = index;
    notifyView();
    Raise(Click);
}

QString ComboBox::currentText() const {
    return m_listIndex >= 0 ? m_items.at(m_listIndex) : QString();
}

}  // namespace quillet
