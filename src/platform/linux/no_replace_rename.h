#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <functional>
#include <optional>

#include "platform/case_detour_name.h"
#include "platform/linux/folder_spellings.h"

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

// The system calls that change a folder during a rename, each relative to the folder `dirFd`
// and answering as the call does (0, or -1 with errno set; the claim answers a descriptor).
// Replaceable so that a test can make any of them fail, or do its work and still report a
// failure, as network and FUSE file systems do when a retried request's first try went through.
// Looking at entries is never replaced: every check below has to see the truth.
struct RenameCalls {
    std::function<int(int dirFd, const char* from, const char* to)> renameNoReplace;
    std::function<int(int dirFd, const char* from, const char* to)> link;
    std::function<int(int dirFd, const char* name)> unlink;
    std::function<int(int dirFd, const char* from, const char* to)> rename;  // may replace
    std::function<int(int dirFd, const char* name)> createExclusive;
    // Whether these calls, on a local file system, never report a failure after doing their
    // work: true of the kernel's own, where no request is ever retried.
    bool finalOnLocalFileSystems = false;
    // Whether a failed no-replace rename is taken at its word, without looking at the folder
    // before and after; set for a folder on a local file system. Each look costs as much as a
    // third of the rename.
    bool failuresAreFinal = false;
};

// The kernel's own calls.
const RenameCalls& SystemRenameCalls();

// Whether the folder lies on a file system of this machine's own kernel (ext4, XFS, Btrfs,
// tmpfs and the like), not on a network or FUSE one.
bool OnLocalFileSystem(int dirFd);

// The calls for one folder: the kernel's own are taken at their word where the folder is local.
RenameCalls RenameCallsFor(int dirFd, RenameCalls calls);

// Answers whether `to` names the very entry that `from` names (a file system that ignores
// letter case finds the same file under both). Replaceable so that such a file system can be
// imitated where none is at hand.
using SameEntryProbe = std::function<bool(int dirFd, const QByteArray& from, const QByteArray& to)>;

// The default probe: both names found, and either on the same device and inode, or the folder
// lists the entry under `from` and under no entry spelled `to` (a file system that numbers
// each looked-up spelling on its own finds one entry under two inode numbers).
bool SameEntryOnDisk(int dirFd, const QByteArray& from, const QByteArray& to);
// The same, with the folder's spellings read once for many questions.
bool SameEntryBySpelling(int dirFd, const QByteArray& from, const QByteArray& to,
                         FolderSpellings& spellings);

// Whether two different names are the same text apart from letter case, as a file system that
// ignores case would compare them.
bool DifferOnlyInCase(const QByteArray& from, const QByteArray& to);

// 0 for a name that can stand as one entry of a folder; EINVAL or ENAMETOOLONG otherwise.
int CheckEntryName(const QByteArray& name);

// Each way on its own; every one returns 0 or an errno value and never replaces a file. A name
// is removed only after checking, by device and inode, that it is still the entry this rename
// made or is undoing; a call that reports a failure is taken as done when the folder shows it.
int RenameKernelNoReplace(int dirFd, const QByteArray& from, const QByteArray& to,
                          const RenameCalls& calls = SystemRenameCalls());
int RenameLinkThenUnlink(int dirFd, const QByteArray& from, const QByteArray& to,
                         const RenameCalls& calls = SystemRenameCalls());
int RenameClaimThenRename(int dirFd, const QByteArray& from, const QByteArray& to,
                          const RenameCalls& calls = SystemRenameCalls());
int RenameCheckThenRename(int dirFd, const QByteArray& from, const QByteArray& to,
                          const RenameCalls& calls = SystemRenameCalls());

// The whole rename as the folder offers it: names checked, a change of letter case alone on a
// case-insensitive file system taken through a detour name, the rest by `method`.
int RenameNoReplaceAt(int dirFd, const QByteArray& from, const QByteArray& to,
                      RenameMethod method = RenameMethod::Cascade,
                      const SameEntryProbe& sameEntry = SameEntryOnDisk,
                      const RenameCalls& calls = SystemRenameCalls());

}  // namespace quillet
