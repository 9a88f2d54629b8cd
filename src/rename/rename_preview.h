#pragma once

#include <QString>

#include "platform/file_system.h"
#include "ui/form1.h"

namespace quillet {

// Why the execute button would leave this row's file under its old name, in the user's words,
// from the row's mark; empty when nothing stands in the way.
QString RenameProblemText(const ListRow& row);

// The file-count panel's tool tip: how many checked files would keep their names; empty when
// none would.
QString KeptNamesText(int count);

// The reasons of the list's rows, numbered from 1, as the tool tips tell them. The marks are
// made after every naming pass; this only reads them.
class RenamePreview {
  public:
    RenamePreview(const Form1& form, FileSystem& files);

    // Empty too when the row is not renamed at all: unchecked, or the attribute-only switch
    // is on.
    QString problem(int row) const;

  private:
    const Form1& m_form;
};

}  // namespace quillet
