#pragma once

#include <QStringList>

#include "ui/control.h"

namespace quillet {

// A drop-down list. Choosing an item other than the current one raises Click.
class ComboBox : public Control {
  public:
    ComboBox(QString name, QStringList items, QString toolTip);

    const QStringList& items() const { return m_items; }
    int listIndex() const { return m_listIndex; }
    void setListIndex(int index);
    QString currentText() const;

    std::function<void()> Click;

  private:
    QStringList m_items;
    int m_listIndex = -1;
};

}  // namespace quillet
