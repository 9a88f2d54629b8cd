#pragma once

#include "ui/control.h"

namespace quillet {

// A text box. Writing a different text, from code or by the user, raises Change once.
class TextBox : public Control {
  public:
    TextBox(QString name, QString text, QString toolTip);

    const QString& text() const { return m_text; }
    void setText(const QString& text);

    // Read-only (locked) and enabled are independent flags: a box can be enabled yet locked.
    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    std::function<void()> Change;

  private:
    QString m_text;
    bool m_readOnly = false;
};

}  // namespace quillet
