#pragma once

#include <QByteArray>
#include <cerrno>
#include <string>

#include "naming/new_name.h"
#include "rename/plain_file_name.h"
#include "ui/list_view.h"

namespace quillet {

// What a rename pass does with one row.
struct PassStep {
    enum class Kind {
        Unchecked,
        KeepsName,  // already under its new name: nothing to do, and no failure
        Refused,    // the new name is not a plain name; the file is never touched
        Failed,     // the file system refused the rename
        Renamed,
    };
    Kind kind = Kind::Unchecked;
    RenameProblem refusal = RenameProblem::None;
    int error = 0;
};

// The error a refused name stands for in a pass's report.
inline int ErrorOfRefusal(RenameProblem refusal) {
    return refusal == RenameProblem::TooLong ? ENAMETOOLONG : EINVAL;
}

// One row of the rename pass as the program makes it: an unchecked row is left out, a name
// that is not plain is refused, a file already under its new name is left alone, and every
// other rename is handed to `attempt(row, from, to)`, which returns 0 or an errno value and
// never replaces a file. `to` is what NewNameBytes gives for the row, made by the caller: the
// pass runs on every keystroke, and makes no text per row.
template <class Attempt>
PassStep PlayRenameStep(const ListRow& row, int index, QByteArrayView to, Attempt&& attempt) {
    PassStep step;
    if (!row.checked) return step;
    step.refusal = RefusalOf(to);
    if (step.refusal != RenameProblem::None) {
        step.kind = PassStep::Kind::Refused;
        step.error = ErrorOfRefusal(step.refusal);
    } else if (to == row.rawName) {
        step.kind = PassStep::Kind::KeepsName;
    } else {
        step.error = attempt(index, row.rawName, to);
        step.kind = step.error == 0 ? PassStep::Kind::Renamed : PassStep::Kind::Failed;
    }
    return step;
}

// The same, with the new name's bytes written over `bytes` (left empty for an unchecked row).
template <class Attempt>
PassStep PlayRenameStep(const ListRow& row, int index, std::string& bytes, Attempt&& attempt) {
    bytes.clear();
    if (!row.checked) return {};
    return PlayRenameStep(row, index, NewNameBytes(row, bytes), attempt);
}

// The whole pass, in list order, each checked row once; `each(row, to, step)` hears what
// became of every row, `to` being a view that lasts only for the call. The real pass, the
// failure marks and the tests' reference all play the pass through here, so that they cannot
// disagree on which renames are tried.
template <class Attempt, class Each>
void PlayRenamePass(const ListView& list, Attempt&& attempt, Each&& each) {
    const int count = list.rowCount();
    std::string bytes;
    for (int i = 1; i <= count; ++i) {
        const PassStep step = PlayRenameStep(list.row(i), i, bytes, attempt);
        each(i, QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())), step);
    }
}

}  // namespace quillet
