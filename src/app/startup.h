#pragma once

#include "platform/platform.h"
#include "ui/form1.h"
#include "ui/program_state.h"
#include "ui/window_methods.h"

namespace quillet {

class Shortcuts;

// Start-up: the folder from the command line, the layout, the launchers' state, the first list.
class Startup {
  public:
    Startup(Form1& form, ProgramState& state, Platform& platform, Shortcuts& shortcuts,
            WindowMethods& window);

    void Form_Load();

  private:
    QByteArray resolveWorkingFolder();
    QByteArray absoluteFromCurrent(const QByteArray& path);
    void layOutFrames();

    Form1& m_form;
    ProgramState& m_state;
    Platform& m_platform;
    Shortcuts& m_shortcuts;
    WindowMethods& m_window;
};

}  // namespace quillet
