#pragma once

#include <vector>

#include "filelist/name_keys.h"
#include "platform/clock.h"
#include "ui/form1.h"
#include "ui/program_state.h"
#include "ui/window_methods.h"
#include "util/string_blocks.h"

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
    void addRows(TextBlocks& blocks);
    QString addNumberKeys(TextBlocks& blocks, double& largest);

    // What the first pass read of each row's base name for the second, by row id.
    struct NumberPart {
        static constexpr int kNoPrefix = -1;
        static NumberPart of(const NumberKey& key);
        double value = 0;
        int prefixLength = kNoPrefix;  // the original prefix begins the shown name
        bool proposesPrefix = false;
        bool read = false;  // false: the second pass reads it from the name's bytes
    };

    Form1& m_form;
    ProgramState& m_state;
    Clock& m_clock;
    WindowMethods& m_window;
    std::vector<NumberPart> m_numbers;
};

}  // namespace quillet
