#pragma once

#include "platform/platform.h"
#include "ui/form1.h"
#include "ui/window_methods.h"

namespace quillet {

// The execute button: after a confirmation, renames every checked file to its new name in
// list order (or sets the requested attributes), then tells the viewer it is done and ends
// the program, or lists the folder afresh in extended mode.
class RenameExecution {
  public:
    RenameExecution(Form1& form, Platform& platform, WindowMethods& window);

    void Command1_Click();

  private:
    void renamePass();
    void attributePass();
    void markActed(int row);
    void showProgress(int done, int total);

    Form1& m_form;
    Platform& m_platform;
    WindowMethods& m_window;
};

// Tells the companion viewer that the tool is done; a store that cannot be written is ignored.
void WriteHandshake(SettingsStore& settings);

}  // namespace quillet
