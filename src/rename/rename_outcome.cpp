#include "rename/rename_outcome.h"

#include <QSet>

#include "naming/new_name.h"
#include "rename/plain_file_name.h"
#include "rename/rename_preview.h"

namespace quillet {

RenameOutcome RenameOutcome::plan(const Form1& form, FileSystem& files) {
    RenameOutcome outcome;
    if (form.Check6.value() != 0) return outcome;
    RenamePreview preview(form, files);
    const ListView& list = form.LV;
    for (int row = 1; row <= list.rowCount(); ++row) {
        const ListRow& shown = list.row(row);
        if (!shown.checked) continue;
        QByteArray to = NewNameBytes(shown);
        // A file asked to keep its name keeps it; that is no failure.
        if (to != shown.rawName)
            outcome.m_moves.push_back(
                {shown.rawName, std::move(to), !preview.problem(row).isEmpty()});
    }
    return outcome;
}

int RenameOutcome::leftUnrenamed(FileSystem& files, const QByteArray& folder) const {
    QSet<QByteArray> targets;
    for (const Move& move : m_moves) targets.insert(move.to);
    const QByteArray base = folder.endsWith('/') ? folder : folder + '/';
    auto exists = [&files, &base](const QByteArray& name) {
        return files.attributes(base + name).has_value();
    };
    int left = 0;
    for (const Move& move : m_moves) {
        if (!IsPlainFileName(move.to) || !exists(move.to)) {
            ++left;
            continue;
        }
        // The old name may be back because another file took it over in the same pass; only a
        // name nobody was meant to take tells for sure that this file stayed. Where the folder
        // cannot tell (names swapped, say), what was foreseen before the pass decides.
        if (!targets.contains(move.from)) {
            if (exists(move.from)) ++left;
        } else if (move.expectedToFail) {
            ++left;
        }
    }
    return left;
}

}  // namespace quillet
