#pragma once

#include <utility>

#include "ui/control.h"

namespace quillet {

// A command button or a label: a caption the user can click.
class Button : public Control {
  public:
    Button(QString name, QString caption = {}, QString toolTip = {})
        : Control(std::move(name), std::move(caption), std::move(toolTip)) {}

    void click() { Raise(Click); }
    // A label acts only when the program handles its click; then the keyboard reaches it too.
    bool clickable() const { return static_cast<bool>(Click); }

    std::function<void()> Click;
};

}  // namespace quillet
