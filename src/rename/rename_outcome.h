#pragma once

#include <QByteArray>
#include <QString>

#include "platform/file_system.h"
#include "ui/form1.h"

namespace quillet {

// How a rename pass went, as the pass itself reported it: the count is never judged from the
// folder afterwards, where a name swapped or taken over cannot tell which file stayed.
class RenameOutcome {
  public:
    // Taken before the pass: whether one is about to rename anything (nothing in
    // attribute-only mode).
    static RenameOutcome plan(const Form1& form, FileSystem& files);

    // How many of the checked rows the latest pass left under their old names. The folder is
    // not looked at again.
    int leftUnrenamed(FileSystem& files, const QByteArray& folder) const;
    bool empty() const { return m_list == nullptr; }

  private:
    const ListView* m_list = nullptr;
};

// The status bar's word on the latest pass over `list`; empty when every rename took effect.
QString PassSummaryText(const PassReport& report);

}  // namespace quillet
