#pragma once

#include <memory>
#include <vector>

#include "ui/control.h"

namespace quillet {

class OptionGroup;

// One option button of a group; at most one of the group is selected.
class OptionButton : public Control {
  public:
    OptionButton(OptionGroup& group, int index, QString caption, QString toolTip);

    int index() const { return m_index; }
    bool value() const;
    // Whether selecting this button clears the others of its group.
    bool exclusive() const;
    // Selecting an option that is not yet selected raises the group's Click with its index.
    void select();
    // Called by the group when this button's selection flips, so the view redraws it.
    void selectionChanged() { notifyView(); }

  private:
    OptionGroup& m_group;
    int m_index;
};

// A control array of option buttons sharing one click handler that receives the index.
class OptionGroup {
  public:
    explicit OptionGroup(QString name);

    OptionButton& add(int index, QString caption, QString toolTip);
    OptionButton& operator[](int index) { return *m_buttons.at(static_cast<size_t>(index)); }
    const OptionButton& operator[](int index) const {
        return *m_buttons.at(static_cast<size_t>(index));
    }
    int count() const { return static_cast<int>(m_buttons.size()); }
    int selectedIndex() const { return m_selected; }
    void select(int index);
    const QString& name() const { return m_name; }
    // At most one option of a group is ever selected.
    bool exclusive() const { return true; }

    std::function<void(int)> Click;

  private:
    QString m_name;
    std::vector<std::unique_ptr<OptionButton>> m_buttons;
    int m_selected = -1;
};

}  // namespace quillet
