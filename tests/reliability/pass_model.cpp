#include "reliability/pass_model.h"

#include <QMap>

#include "naming/new_name.h"
#include "rename/plain_file_name.h"
#include "ui/form1.h"

namespace quillet::test {

PassPrediction PredictRenamePass(const ListView& list, Snapshot entries) {
    PassPrediction prediction;
    for (int i = 1; i <= list.rowCount(); ++i) {
        const ListRow& row = list.row(i);
        const QByteArray to = NewNameBytes(row);
        if (!row.checked || !IsPlainFileName(to) || !entries.count(row.rawName)) continue;
        if (entries.count(to)) {
            ++prediction.blocked;
            continue;
        }
        ++prediction.moved;
        entries[to] = entries[row.rawName];
        entries.erase(row.rawName);
    }
    prediction.entries = std::move(entries);
    return prediction;
}

QString LostOrDoubled(const Snapshot& before, const Snapshot& after) {
    QMap<QByteArray, int> seen;
    for (const auto& [name, entry] : after) ++seen[entry.identity()];
    QString text;
    for (const auto& [name, entry] : before) {
        // Folders are never listed, so never renamed; they are compared by name elsewhere.
        if (entry.kind == SnapshotEntry::Kind::Folder) continue;
        const int count = seen.value(entry.identity());
        if (count != 1)
            text += QStringLiteral("  %1 is found %2 times\n").arg(Printable(name)).arg(count);
    }
    if (after.size() != before.size())
        text += QStringLiteral("  the folder held %1 entries and holds %2\n")
                    .arg(before.size())
                    .arg(after.size());
    return text;
}

}  // namespace quillet::test
