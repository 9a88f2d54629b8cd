#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QList>
#include <optional>

#include "platform/linux/no_replace_rename.h"

namespace quillet {

// An entry as the file system knows it, whatever name it is under.
struct EntryId {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const EntryId& other) const = default;
};

// The entry `name` names in the folder `dirFd`, a link itself rather than its target; nothing
// (errno set) when there is none or it cannot be examined.
std::optional<EntryId> IdentifyEntry(int dirFd, const QByteArray& name);
bool NamesEntry(int dirFd, const QByteArray& name, const EntryId& id);
// Whether anything stands under `name`; errno tells why not.
bool EntryExists(int dirFd, const QByteArray& name);

// Removes `name` only while it is still the entry `id`. 0 when nothing of that entry is left
// under the name (a removal that reports a failure the folder contradicts counts as done, and
// a name that has become another file is left alone); otherwise the errno value.
int RemoveIfStill(int dirFd, const QByteArray& name, const EntryId& id, const RenameCalls& calls);

// Removes `name` when it is a placeholder claimed for a rename; 0 when none is left there.
int RemoveIfClaim(int dirFd, const QByteArray& name, const RenameCalls& calls);

// A note on the file itself, kept while a rename by a second link gives it two names: which
// of them is the old one. False where the file cannot carry it.
bool MarkRenamedFrom(int dirFd, const QByteArray& from);
void UnmarkRenamedFrom(int dirFd, const QByteArray& name);

// What a placeholder claimed for a rename holds, so that one left by a crash is known again.
const QByteArray& ClaimContent();

// Whether a name alone shows an entry left over from a rename cut short by a crash: a detour
// name or a claim's notice.
bool HasLeftoverName(const QByteArray& name);

// Whether a listed entry may be left over from a rename cut short by a crash, as far as its
// name and its status (from lstat) tell: a detour name, a claim's notice, a placeholder claimed
// for a rename, or a file of two names.
bool MayBeRenameLeftover(const QByteArray& name, mode_t mode, off_t size, nlink_t links);

// Puts such leftovers right, each after a closer look: a file parked under a case detour name
// gets its old name back, a claimed placeholder is removed (an empty one where a notice
// announces it), and a file whose note says it was
// being given a second name loses the old one. Returns the detour names that
// have to stay because their old name has been taken meanwhile.
QList<QByteArray> TidyRenameLeftovers(int dirFd, const QList<QByteArray>& candidates,
                                      RenameMethod method, const SameEntryProbe& sameEntry,
                                      const RenameCalls& calls);

}  // namespace quillet
