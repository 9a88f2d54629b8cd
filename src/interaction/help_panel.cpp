#include "interaction/help_panel.h"

#include <cmath>

namespace quillet {

namespace {
constexpr int kStep = 30;  // twips per frame
}

HelpPanel::HelpPanel(Form1& form) : m_form(form) {}

int HelpPanel::statusBarBottom() const {
    const Twips bar = m_form.SBar.geometry();
    return static_cast<int>(std::nearbyint(static_cast<double>(bar.top) + bar.height));
}

void HelpPanel::placeAt(float top) {
    // The view repaints the panel the moment it moves: the slide is the animation, with no
    // timer behind it.
    m_form.panel.move(m_form.panel.geometry().left, top);
}

void HelpPanel::Command4_Click() {
    for (int top = statusBarBottom(); top >= 0; top -= kStep) placeAt(static_cast<float>(top));
    placeAt(0);
}

void HelpPanel::Label2_Click(int) {
    const int bottom = statusBarBottom();
    for (int top = 0; top <= bottom; top += kStep) placeAt(static_cast<float>(top));
    placeAt(m_form.outerHeight);
}

}  // namespace quillet
