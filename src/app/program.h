#pragma once

#include <functional>

namespace quillet {

class QuilletWindow;

// The whole program in an application object that already exists: the Linux platform, the
// window's behaviour and the window on screen, until the program ends. `started` runs once the
// window is up, from the event loop; end-to-end tests drive the real program from there.
int RunProgram(int argc, char** argv, const std::function<void(QuilletWindow&)>& started = {});

}  // namespace quillet
