#include "ui/status_bar.h"

#include <utility>

namespace quillet {

StatusBar::StatusBar(QString name) : Control(std::move(name)) {}

void StatusBar::addPanel(QString key, QString text) {
    m_panels.push_back({std::move(key), std::move(text), Bevel::Inset, QString()});
    notifyView();
}

void StatusBar::setPanelText(int index, const QString& text) {
    auto& panel = m_panels.at(static_cast<size_t>(index - 1));
    if (panel.text == text) return;
    panel.text = text;
    notifyView();
}

void StatusBar::setPanelBevel(int index, Bevel bevel) {
    auto& panel = m_panels.at(static_cast<size_t>(index - 1));
    if (panel.bevel == bevel) return;
    panel.bevel = bevel;
    notifyView();
}

void StatusBar::setPanelToolTip(int index, const QString& toolTip) {
    auto& panel = m_panels.at(static_cast<size_t>(index - 1));
    if (panel.toolTip == toolTip) return;
    panel.toolTip = toolTip;
    notifyView();
}

void StatusBar::setProblemText(const QString& text) {
    if (m_problemText == text) return;
    m_problemText = text;
    notifyView();
}

}  // namespace quillet
