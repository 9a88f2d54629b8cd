#pragma once

#include <QRect>
#include <QSize>
#include <functional>
#include <vector>

class QWidget;

namespace quillet {

class Control;
struct Twips;

// Where each control's widget stands: the model's twips at the screen's logical resolution,
// with the room of a window larger than designed given to the controls that grow. A control
// inside a frame is kept inside the frame's contents, below its title and within its border.
class WindowLayout {
  public:
    // How a widget follows the window when it is resized beyond its design size.
    enum class Anchor { Fixed, Grow, Bottom, Sheet };

    // `client` is the window's drawing area; the help sheet slides down to the bottom of the
    // status bar `statusBar`.
    WindowLayout(QWidget& client, const Control& statusBar, QSize designTwips);

    int toPixels(float twips) const;
    float toTwips(int pixels) const;
    QSize designSize() const;

    // Names the widget after its control and places it from now on; `arrange` lays out the
    // widget's own parts.
    void add(const Control& control, QWidget* widget, Anchor anchor,
             std::function<void(const QRect&)> arrange = {});
    void place(const Control& control);
    void placeAll();

  private:
    struct Placement {
        const Control* control;
        QWidget* widget;
        Anchor anchor;
        std::function<void(const QRect&)> arrange;
    };

    void place(const Placement& placement) const;
    QRect pixelRect(const Twips& geometry) const;
    QRect insideFrame(const Placement& placement, QRect rect) const;
    QSize extraRoom() const;
    int sheetTop(float top) const;

    QWidget& m_client;
    const Control& m_statusBar;
    QSize m_designTwips;
    std::vector<Placement> m_placements;
};

}  // namespace quillet
