#include "view/frame_style.h"

#include <qdrawutil.h>

#include <QGroupBox>
#include <QImageReader>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

namespace quillet {

namespace {

// Fusion's frame picture and how it lays it around a frame.
constexpr const char* kFusionFrame =
    ":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png";
constexpr int kFusionFrameEdge = 6;
constexpr int kFusionTitleGap = 3;

QPixmap ReadFusionFrame() {
    QImageReader reader(QString::fromLatin1(kFusionFrame), "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

}  // namespace

FrameStyle::FrameStyle(const QString& styleName) : QProxyStyle(QStyleFactory::create(styleName)) {
    if (baseStyle()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0)
        m_frame = ReadFusionFrame();
}

void FrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
    if (element != PE_FrameGroupBox || m_frame.isNull()) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // The frame starts below the title, or just below the top edge when there is none.
    const auto* box = qobject_cast<const QGroupBox*>(widget);
    const int top =
        box && !box->isCheckable() && box->title().isEmpty()
            ? kFusionTitleGap
            : qMax(pixelMetric(PM_ExclusiveIndicatorHeight), option->fontMetrics.height()) +
                  kFusionTitleGap;
    qDrawBorderPixmap(
        painter, option->rect.adjusted(0, top, 0, 0),
        QMargins(kFusionFrameEdge, kFusionFrameEdge, kFusionFrameEdge, kFusionFrameEdge), m_frame);
}

}  // namespace quillet
