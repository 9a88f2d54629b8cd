#pragma once

#include "ui/control.h"

namespace quillet {

// Progress from 0 to 100, shown while a long pass runs.
class ProgressBar : public Control {
  public:
    explicit ProgressBar(QString name);

    int value() const { return m_value; }
    void setValue(int value);
    // Step `done` of `total` on the stretch of the bar from `from` to `to`: the whole part of
    // the share done, so the bar stands at `to` only after the last step; with no steps it
    // stays at `from`.
    void showStep(int done, int total, int from = 0, int to = 100);

  private:
    int m_value = 0;
};

}  // namespace quillet
