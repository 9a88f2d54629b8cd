#pragma once

#include <QString>
#include <random>

#include "platform/file_system.h"
#include "preview/rename_marks.h"
#include "ui/form1.h"
#include "ui/program_state.h"

namespace quillet {

// Computes the new name of every row (or, in attribute-only mode, every checked file's
// attribute mask), marks the renames that would not take effect, and decides whether the
// execute button is enabled.
class NamingEngine {
  public:
    NamingEngine(Form1& form, ProgramState& state, FileSystem& files);

    void Text_Change();
    QString RndName(int count);

  private:
    void namingPass();
    void attributePass();
    void enableExecuteWhenFilesListed();

    Form1& m_form;
    ProgramState& m_state;
    FileSystem& m_files;
    std::mt19937 m_random;
    RenameMarks m_marks;
};

}  // namespace quillet
