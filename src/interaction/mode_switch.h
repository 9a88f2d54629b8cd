#pragma once

#include "ui/form1.h"
#include "ui/program_state.h"

namespace quillet {

class SortFilterControls;

// Standard and extended mode, and the tab strip that shows one group of options at a time.
class ModeSwitch {
  public:
    ModeSwitch(Form1& form, ProgramState& state, SortFilterControls& sortFilter);

    void Command3_Click();
    void TabStrip1_BeforeClick(bool& cancel);
    void TabStrip1_Click();

  private:
    void enterExtendedMode();
    void returnToStandardMode();

    Form1& m_form;
    ProgramState& m_state;
    SortFilterControls& m_sortFilter;
};

}  // namespace quillet
