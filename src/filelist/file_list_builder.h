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
    // The two passes, each over one half of the progress bar. The first adds one row per
    // listed file with its extension and time; the second gives each row its original
    // prefix and number key, returns the last prefix worth proposing and raises `largest` to
    // the largest number found.
    void addRows();
    QString addNumberKeys(double& largest);

    Form1& m_form;
    ProgramState& m_state;
    Clock& m_clock;
    WindowMethods& m_window;
};

}  // namespace quillet
