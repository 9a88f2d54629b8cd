#pragma once

#include <QPixmap>
#include <QProxyStyle>

namespace quillet {

// The style of the window's frames: Fusion's own, but its frame picture is read as the PNG it
// is. Fusion reads it by its name alone, and a picture read by name makes Qt load every image
// plugin installed (with the libraries they need) to ask each whether it reads it, before the
// window's first frame. Over any other style the frames are that style's.
class FrameStyle : public QProxyStyle {
  public:
    // Over a style of the given name, as QStyleFactory makes it.
    explicit FrameStyle(const QString& styleName);

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

  private:
    QPixmap m_frame;  // null when the base style is not Fusion or its picture was not found
};

}  // namespace quillet
