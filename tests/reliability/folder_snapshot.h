#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <map>

#include "support/temp_folder.h"

namespace quillet::test {

// What one entry of a folder tree is, as far as losing or changing it matters: the bytes of a
// file, the target of a link, or the bare fact of a folder.
struct SnapshotEntry {
    enum class Kind { File, Link, Folder, Other };
    Kind kind = Kind::Other;
    QByteArray data;

    // One text that tells entries apart: contents of files, targets of links.
    QByteArray identity() const;
    bool operator==(const SnapshotEntry& other) const = default;
};

// Every entry under a root, by its path relative to the root, names kept as raw bytes.
using Snapshot = std::map<QByteArray, SnapshotEntry>;

Snapshot TakeSnapshot(const QByteArray& root);

// The entries directly inside `folder` (a path relative to the snapshot's root) by name.
Snapshot EntriesOf(const Snapshot& snapshot, const QByteArray& folder);
// The snapshot without the entries directly inside `folder`; what lies deeper stays.
Snapshot WithoutEntriesOf(const Snapshot& snapshot, const QByteArray& folder);

// A readable account of how two snapshots differ, empty when they are equal.
QString DescribeDifference(const Snapshot& expected, const Snapshot& actual);

// A raw name made readable: bytes that are not printable ASCII as \xNN.
QString Printable(const QByteArray& raw);

}  // namespace quillet::test
