#pragma once

#include "ui/control.h"

namespace quillet {

// Progress from 0 to 100, shown while a long pass runs.
class ProgressBar : public Control {
  public:
    explicit ProgressBar(QString name);

    int value() const { return m_value; }
    void setValue(int value);

  private:
    int m_value = 0;
};

}  // namespace quillet
