#include "view/binding.h"

#include <QWidget>

#include "ui/control.h"
#include "view/window_layout.h"

namespace quillet {

Binding::Binding(QObject& context, WindowLayout& layout) : m_context(context), m_layout(layout) {}

Binding::~Binding() {
    // The model outlives the window; its controls must not call back into it.
    detach();
}

std::function<void()> Binding::follow(Control& control, std::function<void()> sync) {
    std::weak_ptr<int> alive = m_alive;
    auto guarded = [this, alive, sync = std::move(sync)] {
        if (alive.expired()) return;
        Scope scope(*this);
        sync();
    };
    control.subscribe(guarded);
    guarded();
    return guarded;
}

void Binding::whenDrawn(std::function<void()> work, const void* key) {
    if (m_drawn) {
        Scope scope(*this);
        work();
        return;
    }
    for (auto& [kept, keptWork] : m_untilDrawn) {
        if (!key || kept != key) continue;
        keptWork = std::move(work);
        return;
    }
    m_untilDrawn.emplace_back(key, std::move(work));
}

void Binding::firstFrameDrawn() {
    if (m_drawn || !m_alive) return;
    m_drawn = true;
    Scope scope(*this);
    for (auto& [key, work] : std::exchange(m_untilDrawn, {})) work();
}

QString AccessibleNameOf(const Control& control) {
    return control.accessibleName().isEmpty() ? control.caption().trimmed()
                                              : control.accessibleName();
}

void Binding::showCommon(const Control& control, QWidget* widget, bool followVisible) {
    // This runs on every change of the control, a hundred times a pass for the progress bar,
    // and each of these writes sends events of its own: only what differs is written.
    if (widget->toolTip() != control.toolTip()) widget->setToolTip(control.toolTip());
    const QString name = AccessibleNameOf(control);
    if (widget->accessibleName() != name) widget->setAccessibleName(name);
    if (widget->accessibleDescription() != control.toolTip())
        widget->setAccessibleDescription(control.toolTip());
    widget->setEnabled(control.enabled());
    // Placed before it is shown: Qt gives a widget shown unplaced the size its contents ask
    // for, which measures its text for a size that is thrown away at once.
    m_layout.place(control);
    if (followVisible) widget->setVisible(control.visible());
    // Only a pointer the model asked for is taken back; a widget may bring its own.
    const bool hand = control.mousePointer() == MousePointer::Hand;
    if (hand != widget->property("quilletHandPointer").toBool()) {
        widget->setProperty("quilletHandPointer", hand);
        if (hand)
            widget->setCursor(Qt::PointingHandCursor);
        else
            widget->unsetCursor();
    }
}

}  // namespace quillet
