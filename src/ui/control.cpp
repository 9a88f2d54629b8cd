#include "ui/control.h"

#include <utility>

namespace quillet {

Control::Control(QString name, QString caption, QString toolTip)
    : m_name(std::move(name)), m_caption(std::move(caption)), m_toolTip(std::move(toolTip)) {}

void Control::setCaption(const QString& caption) {
    if (caption == m_caption) return;
    m_caption = caption;
    notifyView();
}

void Control::setToolTip(const QString& toolTip) {
    if (toolTip == m_toolTip) return;
    m_toolTip = toolTip;
    notifyView();
}

void Control::setVisible(bool visible) {
    if (visible == m_visible) return;
    m_visible = visible;
    notifyView();
}

void Control::setEnabled(bool enabled) {
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    notifyView();
}

void Control::setAccessibleName(const QString& name) {
    if (name == m_accessibleName) return;
    m_accessibleName = name;
    notifyView();
}

void Control::setMousePointer(MousePointer pointer) {
    if (pointer == m_mousePointer) return;
    m_mousePointer = pointer;
    notifyView();
}

void Control::setGeometry(const Twips& geometry) {
    m_geometry = geometry;
    notifyView();
}

void Control::move(float left, float top) {
    m_geometry.left = left;
    m_geometry.top = top;
    notifyView();
}

void Control::subscribe(std::function<void()> listener) {
    m_listeners.push_back(std::move(listener));
}

void Control::notifyView() {
    for (const auto& listener : m_listeners) listener();
}

}  // namespace quillet
