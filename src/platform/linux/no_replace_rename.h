#pragma once

#include <QByteArray>
#include <functional>

namespace quillet {

// The ways a rename inside one folder can be made to refuse an existing target. `Cascade` tries
// them in order and falls back to the next one only where a file system does not offer the
// previous one; the others force a single way, so that each can be exercised on its own.
enum class RenameMethod {
    Cascade,
    KernelNoReplace,  // renameat2 with RENAME_NOREPLACE
    LinkThenUnlink,   // a hard link under the new name, then the old name removed
    ClaimThenRename,  // the new name claimed with O_CREAT|O_EXCL, then renamed over
    CheckThenRename,  // look first, then rename; open to a race, hence the last resort
};

// Answers whether `to` names the very entry that `from` names (a file system that ignores
// letter case finds the same file under both). Replaceable so that such a file system can be
// imitated where none is at hand.
using SameEntryProbe = std::function<bool(int dirFd, const QByteArray& from, const QByteArray& to)>;

// The default probe: both names found, on the same device and inode.
bool sameEntryOnDisk(int dirFd, const QByteArray& from, const QByteArray& to);

// Whether two different names are the same text apart from letter case, as a file system that
// ignores case would compare them.
bool differOnlyInCase(const QByteArray& from, const QByteArray& to);

// 0 for a name that can stand as one entry of a folder; EINVAL or ENAMETOOLONG otherwise.
int checkEntryName(const QByteArray& name);

// Each way on its own; every one returns 0 or an errno value and never replaces a file.
int renameKernelNoReplace(int dirFd, const QByteArray& from, const QByteArray& to);
int renameLinkThenUnlink(int dirFd, const QByteArray& from, const QByteArray& to);
int renameClaimThenRename(int dirFd, const QByteArray& from, const QByteArray& to);
int renameCheckThenRename(int dirFd, const QByteArray& from, const QByteArray& to);

// The whole rename as the folder offers it: names checked, a change of letter case alone on a
// case-insensitive file system taken through a temporary name, the rest by `method`.
int renameNoReplaceAt(int dirFd, const QByteArray& from, const QByteArray& to,
                      RenameMethod method = RenameMethod::Cascade,
                      const SameEntryProbe& sameEntry = sameEntryOnDisk);

}  // namespace quillet
