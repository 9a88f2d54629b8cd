#include "ui/progress_bar.h"

#include <algorithm>
#include <utility>

namespace quillet {

ProgressBar::ProgressBar(QString name) : Control(std::move(name)) {
    setVisible(false);
}

void ProgressBar::setValue(int value) {
    value = std::clamp(value, 0, 100);
    if (value == m_value) return;
    m_value = value;
    notifyView();
}

void ProgressBar::showStep(int done, int total, int from, int to) {
    setValue(total > 0 ? from + static_cast<int>(static_cast<double>(done) / total * (to - from))
                       : from);
}

}  // namespace quillet
