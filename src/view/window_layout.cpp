#include "view/window_layout.h"

#include <QGroupBox>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <limits>

#include "ui/control.h"

namespace quillet {

namespace {

constexpr float kTwipsPerInch = 1440;

}  // namespace

WindowLayout::WindowLayout(QWidget& client, const Control& statusBar, QSize designTwips)
    : m_client(client), m_statusBar(statusBar), m_designTwips(designTwips) {}

int WindowLayout::toPixels(float twips) const {
    return static_cast<int>(
        std::lround(twips * static_cast<float>(m_client.logicalDpiY()) / kTwipsPerInch));
}

float WindowLayout::toTwips(int pixels) const {
    return static_cast<float>(pixels) * kTwipsPerInch / static_cast<float>(m_client.logicalDpiY());
}

QSize WindowLayout::designSize() const {
    return {toPixels(static_cast<float>(m_designTwips.width())),
            toPixels(static_cast<float>(m_designTwips.height()))};
}

void WindowLayout::add(const Control& control, QWidget* widget, Anchor anchor,
                       std::function<void(const QRect&)> arrange) {
    widget->setObjectName(control.name());
    m_placements.push_back({&control, widget, anchor, std::move(arrange)});
}

void WindowLayout::place(const Control& control) {
    for (const auto& placement : m_placements) {
        if (placement.control == &control) place(placement);
    }
}

void WindowLayout::placeAll() {
    for (const auto& placement : m_placements) place(placement);
}

QRect WindowLayout::pixelRect(const Twips& geometry) const {
    // Edges are rounded, not sizes, so that neighbours meet without gaps.
    const int left = toPixels(geometry.left);
    const int top = toPixels(geometry.top);
    return QRect(left, top, toPixels(geometry.left + geometry.width) - left,
                 toPixels(geometry.top + geometry.height) - top);
}

QRect WindowLayout::insideFrame(const Placement& placement, QRect rect) const {
    auto* frame = qobject_cast<QGroupBox*>(placement.widget->parentWidget());
    if (!frame) return rect;
    // The design counts a frame's title as a line of the default face; the face on screen
    // may need more. The controls of the frame keep their order and spacing, pressed
    // together just enough to stand below the title and inside the border.
    const QRect contents = frame->contentsRect();
    int designTop = std::numeric_limits<int>::max();
    int designBottom = std::numeric_limits<int>::min();
    for (const auto& sibling : m_placements) {
        if (sibling.widget->parentWidget() != frame) continue;
        const QRect at = pixelRect(sibling.control->geometry());
        designTop = std::min(designTop, at.top());
        designBottom = std::max(designBottom, at.bottom() + 1);
    }
    // Moved down below the title first, then pressed together only as far as the bottom
    // border asks.
    const int shift = std::max(0, contents.top() - designTop);
    const int top = designTop + shift;
    const int bottom = std::min(designBottom + shift, contents.bottom() + 1);
    if (designBottom <= designTop) return rect.intersected(contents);
    const double scale = static_cast<double>(bottom - top) / (designBottom - designTop);
    auto map = [&](int y) { return top + static_cast<int>(std::lround((y - designTop) * scale)); };
    const int mappedTop = map(rect.top());
    const int mappedBottom = map(rect.bottom() + 1);
    QRect fitted(rect.left(), mappedTop, rect.width(), mappedBottom - mappedTop);
    return fitted.intersected(contents);
}

QSize WindowLayout::extraRoom() const {
    const QSize design = designSize();
    return {std::max(0, m_client.width() - design.width()),
            std::max(0, m_client.height() - design.height())};
}

int WindowLayout::sheetTop(float top) const {
    // The sheet slides between the top of the window and the bottom of the status bar; on a
    // window taller than designed the same slide is stretched over the real height.
    const Twips& bar = m_statusBar.geometry();
    const float bottom = bar.top + bar.height;
    const int bottomPixels = pixelRect(bar).bottom() + 1 + extraRoom().height();
    if (bottom <= 0) return toPixels(top);
    if (top <= bottom) return static_cast<int>(std::lround(top / bottom * bottomPixels));
    return bottomPixels + toPixels(top) - toPixels(bottom);
}

void WindowLayout::place(const Placement& placement) const {
    QRect rect = pixelRect(placement.control->geometry());
    const QSize extra = extraRoom();
    switch (placement.anchor) {
        case Anchor::Fixed:
            rect = insideFrame(placement, rect);
            break;
        case Anchor::Grow:
            rect.setSize(rect.size() + extra);
            break;
        case Anchor::Bottom:
            rect.translate(0, extra.height());
            rect.setWidth(rect.width() + extra.width());
            break;
        case Anchor::Sheet:
            rect.moveTop(sheetTop(placement.control->geometry().top));
            rect.setSize(rect.size() + extra);
            break;
    }
    placement.widget->setGeometry(rect);
    if (placement.arrange) placement.arrange(rect);
}

}  // namespace quillet
