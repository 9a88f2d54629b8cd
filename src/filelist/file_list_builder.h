#pragma once

#include "platform/clock.h"
#include "ui/form1.h"
#include "ui/program_state.h"
#include "ui/window_methods.h"

namespace quillet {

// Fills the file list from scratch: one checked row per file with its hidden keys, the
// proposed prefix and start number, one sort, then the names.
class FileListBuilder {
  public:
    FileListBuilder(Form1& form, ProgramState& state, Clock& clock, WindowMethods& window);

    void RebuildFileList();

  private:
    void addRows();
    QString readNumberKeys(double& largest);

    Form1& m_form;
    ProgramState& m_state;
    Clock& m_clock;
    WindowMethods& m_window;
};

}  // namespace quillet
