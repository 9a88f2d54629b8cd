#pragma once

#include <QString>

#include "ui/form1.h"

namespace quillet {

// Why the execute button would leave this row's file under its old name, in the user's words,
// from the row's mark; empty when nothing stands in the way.
QString RenameProblemText(const ListRow& row);

// The file-count panel's tool tip: how many checked files would keep their names; empty when
// none would.
QString KeptNamesText(int count);

// What the tool tip of a list row, numbered from 1, says: first that the file was left under a
// case-change detour name, else why the execute button would leave it under its old name (from
// the row's mark, made after every naming pass). Empty too when the row is not renamed at all:
// unchecked, or the attribute-only switch is on.
QString RowToolTipText(const Form1& form, int row);

}  // namespace quillet
