#include "reliability/pass_model.h"

#include <QMap>
#include <cerrno>

#include "rename/rename_pass.h"

namespace quillet::test {

PassPrediction PredictRenamePass(const ListView& list, Snapshot entries, bool ignoresCase) {
    PassPrediction prediction;
    // The entry a name finds, as the folder compares names.
    const auto holder = [&entries, ignoresCase](const QByteArray& name) {
        if (entries.count(name) || !ignoresCase) return name;
        const QString folded = QString::fromUtf8(name).toCaseFolded();
        for (const auto& [held, entry] : entries) {
            if (QString::fromUtf8(held).toCaseFolded() == folded) return held;
        }
        return name;
    };
    PlayRenamePass(
        list,
        [&entries, &holder](int, const QByteArray& from, QByteArrayView toView) {
            const QByteArray to = toView.toByteArray();
            if (!entries.count(from)) return ENOENT;
            if (entries.count(holder(to)) && holder(to) != from) return EEXIST;
            entries[to] = entries[from];
            entries.erase(from);
            return 0;
        },
        [&prediction](int, QByteArrayView, const PassStep& step) {
            if (step.kind == PassStep::Kind::Renamed) ++prediction.moved;
            if (step.kind == PassStep::Kind::Failed && step.error == EEXIST) ++prediction.blocked;
        });
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
