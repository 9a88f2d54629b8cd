#pragma once

#include <QByteArrayView>

#include "ui/list_view.h"

namespace quillet {

// Why a name cannot be given to a file at all, or None when it is one plain entry of a
// folder: not empty, not "." or "..", free of "/" and NUL, and within the file system's
// limit. Anything else could move a file out of its folder or fail half-way, so the rename
// step refuses it.
RenameProblem RefusalOf(QByteArrayView name);

inline bool IsPlainFileName(QByteArrayView name) {
    return RefusalOf(name) == RenameProblem::None;
}

}  // namespace quillet
