#include "platform/linux/no_replace_rename.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <QString>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>

#include "platform/file_system.h"
#include "platform/linux/rename_leftovers.h"

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace quillet {

namespace {

constexpr qsizetype MaxNameBytes = kMaxNameBytes;

int CallRenameat2(int dirFd, const char* from, const char* to) {
#if defined(SYS_renameat2)
    return static_cast<int>(::syscall(SYS_renameat2, dirFd, from, dirFd, to, RENAME_NOREPLACE));
#else
    (void)dirFd;
    (void)from;
    (void)to;
    errno = ENOSYS;
    return -1;
#endif
}

// The claim is made without any permission bits, so that a crash that leaves it behind leaves
// something the next listing can tell from a user's file; where the file system keeps no
// modes, its content says what it is.
int CreateClaim(int dirFd, const char* name) {
    const int fd = ::openat(dirFd, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0);
    if (fd < 0) return fd;
    const QByteArray& mark = ClaimContent();
    qsizetype written = 0;
    while (written < mark.size()) {
        const ssize_t step =
            ::write(fd, mark.constData() + written, static_cast<size_t>(mark.size() - written));
        if (step < 0 && errno == EINTR) continue;
        if (step <= 0) break;
        written += step;
    }
    return fd;
}

bool CreateNotice(int dirFd, const char* name) {
    const int fd = ::openat(dirFd, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

// The kernel or the file system does not know the no-replace flag.
bool NoReplaceUnsupported(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

// The file system does not do hard links here (FAT, some network and FUSE file systems, or
// a link count at its limit), although a plain rename may still work.
bool LinkRefused(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EXDEV ||
           error == EMLINK || error == EINVAL;
}

// The file system will not create the placeholder file, for reasons that say nothing about
// whether the name is free.
bool ClaimRefused(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EINVAL;
}

// The rename is known to have happened: the file has left its old name and is found under the
// new one. A call that reported a failure may still have done its work.
bool Moved(int dirFd, const QByteArray& from, const QByteArray& to, const EntryId& id) {
    return !NamesEntry(dirFd, from, id) && NamesEntry(dirFd, to, id);
}

int ByMethod(int dirFd, const QByteArray& from, const QByteArray& to, RenameMethod method,
             const RenameCalls& calls) {
    switch (method) {
        case RenameMethod::KernelNoReplace:
            return RenameKernelNoReplace(dirFd, from, to, calls);
        case RenameMethod::LinkThenUnlink:
            return RenameLinkThenUnlink(dirFd, from, to, calls);
        case RenameMethod::ClaimThenRename:
            return RenameClaimThenRename(dirFd, from, to, calls);
        case RenameMethod::CheckThenRename:
            return RenameCheckThenRename(dirFd, from, to, calls);
        case RenameMethod::Cascade:
            break;
    }
    int error = RenameKernelNoReplace(dirFd, from, to, calls);
    if (!NoReplaceUnsupported(error)) return error;
    // Nothing changed: the folder is as it was before the first try.
    const std::optional<EntryId> id = IdentifyEntry(dirFd, from);
    error = RenameLinkThenUnlink(dirFd, from, to, calls);
    // A fallback is tried only on a folder as it was: a step that could not be undone stays
    // the last one.
    if (!LinkRefused(error) || (id && NamesEntry(dirFd, to, *id))) return error;
    error = RenameClaimThenRename(dirFd, from, to, calls);
    if (!ClaimRefused(error)) return error;
    return RenameCheckThenRename(dirFd, from, to, calls);
}

// On a file system that ignores case, "a.JPG" already exists when "a.jpg" does, so no
// no-replace rename could ever change the case; a detour through a free name can.
int RenameCaseOnly(int dirFd, const QByteArray& from, const QByteArray& to, RenameMethod method,
                   const RenameCalls& calls) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray detour = CaseDetourName(from, attempt);
        if (detour.size() > MaxNameBytes) return ENAMETOOLONG;
        int error = ByMethod(dirFd, from, detour, method, calls);
        if (error == EEXIST) continue;
        if (error != 0) return error;
        error = ByMethod(dirFd, detour, to, method, calls);
        // Each step checks for itself what it removes. Should the way back fail too, the
        // file stays under the detour name, in sight, until the next listing restores it.
        if (error != 0) ByMethod(dirFd, detour, from, method, calls);
        return error;
    }
    return EEXIST;
}

}  // namespace

const RenameCalls& SystemRenameCalls() {
    static const RenameCalls calls{
        CallRenameat2,
        [](int dirFd, const char* from, const char* to) {
            return ::linkat(dirFd, from, dirFd, to, 0);
        },
        [](int dirFd, const char* name) { return ::unlinkat(dirFd, name, 0); },
        [](int dirFd, const char* from, const char* to) {
            return ::renameat(dirFd, from, dirFd, to);
        },
        CreateClaim,
        true,
    };
    return calls;
}

bool OnLocalFileSystem(int dirFd) {
    struct statfs info;
    if (::fstatfs(dirFd, &info) != 0) return false;
    // Unsigned: some magic numbers have the top bit set, and f_type is signed.
    switch (static_cast<std::uint32_t>(info.f_type)) {
        case EXT4_SUPER_MAGIC:  // ext2 and ext3 too
        case XFS_SUPER_MAGIC:
        case BTRFS_SUPER_MAGIC:
        case TMPFS_MAGIC:
        case F2FS_SUPER_MAGIC:
        case MSDOS_SUPER_MAGIC:
        case EXFAT_SUPER_MAGIC:
            return true;
        default:
            return false;
    }
}

RenameCalls RenameCallsFor(int dirFd, RenameCalls calls) {
    calls.failuresAreFinal = calls.finalOnLocalFileSystems && OnLocalFileSystem(dirFd);
    return calls;
}

bool DifferOnlyInCase(const QByteArray& from, const QByteArray& to) {
    if (from == to) return false;
    // Plain ASCII names, the usual case, are compared without decoding them: every rename of a
    // pass asks this. Beyond ASCII, folding may even match names of different byte lengths.
    const auto ascii = [](const QByteArray& name) {
        return std::all_of(name.begin(), name.end(),
                           [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    };
    if (ascii(from) && ascii(to)) return from.compare(to, Qt::CaseInsensitive) == 0;
    return QString::fromUtf8(from).compare(QString::fromUtf8(to), Qt::CaseInsensitive) == 0;
}

bool SameEntryBySpelling(int dirFd, const QByteArray& from, const QByteArray& to,
                         FolderSpellings& spellings) {
    const std::optional<EntryId> fromId = IdentifyEntry(dirFd, from);
    if (!fromId) return false;
    if (NamesEntry(dirFd, to, *fromId)) return true;
    if (!EntryExists(dirFd, to)) return false;
    // Two entries that differ only in case can stand side by side only where case counts, and
    // then the listing shows both. A wrong answer costs no file either way: the detour
    // refuses a taken name as any rename does, and the plain way refuses the name it finds.
    return spellings.holds(dirFd, from) == true && spellings.holds(dirFd, to) == false;
}

bool SameEntryOnDisk(int dirFd, const QByteArray& from, const QByteArray& to) {
    FolderSpellings spellings;
    return SameEntryBySpelling(dirFd, from, to, spellings);
}

int CheckEntryName(const QByteArray& name) {
    if (name.isEmpty() || name == "." || name == ".." || name.contains('/') ||
        name.contains('\0')) {
        return EINVAL;
    }
    if (name.size() > MaxNameBytes) return ENAMETOOLONG;
    return 0;
}

int RenameKernelNoReplace(int dirFd, const QByteArray& from, const QByteArray& to,
                          const RenameCalls& calls) {
    if (calls.failuresAreFinal)
        return calls.renameNoReplace(dirFd, from.constData(), to.constData()) == 0 ? 0 : errno;
    const std::optional<EntryId> id = IdentifyEntry(dirFd, from);
    const bool toWasFree = !EntryExists(dirFd, to);
    if (calls.renameNoReplace(dirFd, from.constData(), to.constData()) == 0) return 0;
    const int error = errno;
    if (id && toWasFree && Moved(dirFd, from, to, *id)) return 0;
    return error;
}

int RenameLinkThenUnlink(int dirFd, const QByteArray& from, const QByteArray& to,
                         const RenameCalls& calls) {
    const std::optional<EntryId> id = IdentifyEntry(dirFd, from);
    if (!id) return errno;
    const bool toWasFree = !EntryExists(dirFd, to);
    // While the file has both names it says which is the old one, so that a crash in between
    // can be finished by the next listing.
    // A file that cannot carry the note (a symbolic link, a read-only file, a file system
    // without user xattrs) is not renamed this way: a crash would leave it with two names and
    // nothing to tell which one to keep. The claim can be told again after a crash.
    if (!MarkRenamedFrom(dirFd, from)) return EOPNOTSUPP;
    const auto done = [&](int result) {
        UnmarkRenamedFrom(dirFd, result == 0 ? to : from);
        return result;
    };
    if (calls.link(dirFd, from.constData(), to.constData()) != 0) {
        const int error = errno;
        if (!toWasFree || !NamesEntry(dirFd, to, *id)) return done(error);
    }
    // Both names lead to the file now. The old one is removed only while it still is this
    // file: another program may have put its own under that name meanwhile.
    if (!NamesEntry(dirFd, from, *id)) return done(0);
    if (calls.unlink(dirFd, from.constData()) == 0) return done(0);
    const int error = errno;
    if (!NamesEntry(dirFd, from, *id)) return done(0);
    // Take the new name back, so that nothing changed. Should that fail too, the note stays:
    // the next listing finishes the rename.
    if (RemoveIfStill(dirFd, to, *id, calls) != 0) return error;
    return done(error);
}

int RenameClaimThenRename(int dirFd, const QByteArray& from, const QByteArray& to,
                          const RenameCalls& calls) {
    // A name renamed onto itself would claim its own name: were the file gone, an empty one
    // would appear in its place and the rename would report success.
    if (from == to) return EntryExists(dirFd, from) ? EEXIST : errno;
    const std::optional<EntryId> id = IdentifyEntry(dirFd, from);
    if (!id) return errno;
    const bool toWasFree = !EntryExists(dirFd, to);
    // Until the placeholder holds its text, only the notice tells it from a user's empty file
    // where the file system keeps no modes.
    const QByteArray notice = ClaimNoticeName(to);
    const bool noticed =
        toWasFree && notice.size() <= MaxNameBytes && CreateNotice(dirFd, notice.constData());
    const int claim = calls.createExclusive(dirFd, to.constData());
    if (noticed) ::unlinkat(dirFd, notice.constData(), 0);
    if (claim < 0) {
        const int error = errno;
        // Made after all, though reported as failed: it is taken back.
        if (toWasFree) RemoveIfClaim(dirFd, to, calls);
        return error;
    }
    struct stat claimStat;
    const bool known = ::fstat(claim, &claimStat) == 0;
    ::close(claim);
    if (!known) return EIO;  // a claim that cannot be told from another file is left alone
    const EntryId claimId{claimStat.st_dev, claimStat.st_ino};

    // The claim must still be the placeholder made above, just before it is renamed over:
    // another program may have saved its own file under the name meanwhile.
    if (!NamesEntry(dirFd, to, claimId)) return EEXIST;
    if (!NamesEntry(dirFd, from, *id)) {
        RemoveIfStill(dirFd, to, claimId, calls);
        return ENOENT;
    }
    if (calls.rename(dirFd, from.constData(), to.constData()) == 0) return 0;
    const int error = errno;
    if (Moved(dirFd, from, to, *id)) return 0;
    RemoveIfStill(dirFd, to, claimId, calls);
    return error;
}

int RenameCheckThenRename(int dirFd, const QByteArray& from, const QByteArray& to,
                          const RenameCalls& calls) {
    const std::optional<EntryId> id = IdentifyEntry(dirFd, from);
    if (EntryExists(dirFd, to)) return EEXIST;
    if (errno != ENOENT) return errno;
    if (!id) return ENOENT;
    if (calls.rename(dirFd, from.constData(), to.constData()) == 0) return 0;
    const int error = errno;
    return Moved(dirFd, from, to, *id) ? 0 : error;
}

int RenameNoReplaceAt(int dirFd, const QByteArray& from, const QByteArray& to, RenameMethod method,
                      const SameEntryProbe& sameEntry, const RenameCalls& calls) {
    if (const int error = CheckEntryName(from); error == EINVAL) return error;
    if (const int error = CheckEntryName(to); error != 0) return error;
    if (DifferOnlyInCase(from, to) && sameEntry && sameEntry(dirFd, from, to)) {
        return RenameCaseOnly(dirFd, from, to, method, calls);
    }
    return ByMethod(dirFd, from, to, method, calls);
}

}  // namespace quillet
