#include "ui/option_group.h"

#include <utility>

namespace quillet {

OptionButton::OptionButton(OptionGroup& group, int index, QString caption, QString toolTip)
    : Control(group.name() + QLatin1Char('(') + QString::number(index) + QLatin1Char(')'),
              std::move(caption), std::move(toolTip)),
      m_group(group),
      m_index(index) {}

bool OptionButton::value() const {
    return m_group.selectedIndex() == m_index;
}

bool OptionButton::exclusive() const {
    return m_group.exclusive();
}

void OptionButton::select() {
    m_group.select(m_index);
}

OptionGroup::OptionGroup(QString name) : m_name(std::move(name)) {}

OptionButton& OptionGroup::add(int index, QString caption, QString toolTip) {
    if (static_cast<size_t>(index) >= m_buttons.size())
        m_buttons.resize(static_cast<size_t>(index) + 1);
    m_buttons[static_cast<size_t>(index)] =
        std::make_unique<OptionButton>(*this, index, std::move(caption), std::move(toolTip));
    return *m_buttons[static_cast<size_t>(index)];
}

void OptionGroup::select(int index) {
    if (index == m_selected) return;
    const int previous = m_selected;
    m_selected = index;
    if (previous >= 0) (*this)[previous].selectionChanged();
    if (index >= 0) (*this)[index].selectionChanged();
    Raise(Click, index);
}

}  // namespace quillet
