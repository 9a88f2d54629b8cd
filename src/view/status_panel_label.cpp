#include "view/status_panel_label.h"

#include <QFontMetrics>
#include <algorithm>

namespace quillet {

StatusPanelLabel::StatusPanelLabel(QWidget* parent) : QLabel(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void StatusPanelLabel::setFullText(const QString& text) {
    if (text == m_fullText && !QLabel::text().isEmpty()) return;
    m_fullText = text;
    elide();
}

QSize StatusPanelLabel::sizeHint() const {
    // The text adapts to the width, so the width never asks for the whole text.
    return {minimumWidth(), QLabel::sizeHint().height()};
}

QSize StatusPanelLabel::minimumSizeHint() const {
    return {0, QLabel::minimumSizeHint().height()};
}

void StatusPanelLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void StatusPanelLabel::elide() {
    const int room = contentsRect().width() - 2 * margin() - std::max(indent(), 0);
    setText(room > 0 ? fontMetrics().elidedText(m_fullText, Qt::ElideMiddle, room) : m_fullText);
}

}  // namespace quillet
