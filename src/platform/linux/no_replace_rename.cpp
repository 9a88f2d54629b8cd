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

int callRenameat2(int dirFd, const char* from, const char* to) {
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
int createClaim(int dirFd, const char* name) {
    const int fd = ::openat(dirFd, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0);
    if (fd < 0) return fd;
    const QByteArray& mark = claimContent();
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

bool createNotice(int dirFd, const char* name) {
    const int fd = ::openat(dirFd, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

// The kernel or the file system does not know the no-replace flag.
bool noReplaceUnsupported(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

// The file system does not do hard links here (FAT, some network and FUSE file systems, or
// a link count at its limit), although a plain rename may still work.
bool linkRefused(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EXDEV ||
           error == EMLINK || error == EINVAL;
}

// The file system will not create the placeholder file, for reasons that say nothing about
// whether the name is free.
bool claimRefused(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EINVAL;
}

// The rename is known to have happened: the file has left its old name and is found under the
// new one. A call that reported a failure may still have done its work.
bool moved(int dirFd, const QByteArray& from, const QByteArray& to, const EntryId& id) {
    return !namesEntry(dirFd, from, id) && namesEntry(dirFd, to, id);
}

int byMethod(int dirFd, const QByteArray& from, const QByteArray& to, RenameMethod method,
             const RenameCalls& calls) {
    switch (method) {
        case RenameMethod::KernelNoReplace:
            return renameKernelNoReplace(dirFd, from, to, calls);
        case RenameMethod::LinkThenUnlink:
            return renameLinkThenUnlink(dirFd, from, to, calls);
        case RenameMethod::ClaimThenRename:
            return renameClaimThenRename(dirFd, from, to, calls);
        case RenameMethod::CheckThenRename:
            return renameCheckThenRename(dirFd, from, to, calls);
        case RenameMethod::Cascade:
            break;
    }
    int error = renameKernelNoReplace(dirFd, from, to, calls);
    if (!noReplaceUnsupported(error)) return error;
    // Nothing changed: the folder is as it was before the first try.
    const std::optional<EntryId> id = identifyEntry(dirFd, from);
    error = renameLinkThenUnlink(dirFd, from, to, calls);
    // A fallback is tried only on a folder as it was: a step that could not be undone stays
    // the last one.
    if (!linkRefused(error) || (id && namesEntry(dirFd, to, *id))) return error;
    error = renameClaimThenRename(dirFd, from, to, calls);
    if (!claimRefused(error)) return error;
    return renameCheckThenRename(dirFd, from, to, calls);
}

// On a file system that ignores case, "a.JPG" already exists when "a.jpg" does, so no
// no-replace rename could ever change the case; a detour through a free name can.
int renameCaseOnly(int dirFd, const QByteArray& from, const QByteArray& to, RenameMethod method,
                   const RenameCalls& calls) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray detour = caseDetourName(from, attempt);
        if (detour.size() > MaxNameBytes) return ENAMETOOLONG;
        int error = byMethod(dirFd, from, detour, method, calls);
        if (error == EEXIST) continue;
        if (error != 0) return error;
        error = byMethod(dirFd, detour, to, method, calls);
        // Each step checks for itself what it removes. Should the way back fail too, the
        // file stays under the detour name, in sight, until the next listing restores it.
        if (error != 0) byMethod(dirFd, detour, from, method, calls);
        return error;
    }
    return EEXIST;
}

}  // namespace

const RenameCalls& systemRenameCalls() {
    static const RenameCalls calls{
        callRenameat2,
        [](int dirFd, const char* from, const char* to) {
            return ::linkat(dirFd, from, dirFd, to, 0);
        },
        [](int dirFd, const char* name) { return ::unlinkat(dirFd, name, 0); },
        [](int dirFd, const char* from, const char* to) {
            return ::renameat(dirFd, from, dirFd, to);
        },
        createClaim,
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

bool differOnlyInCase(const QByteArray& from, const QByteArray& to) {
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

bool sameEntryBySpelling(int dirFd, const QByteArray& from, const QByteArray& to,
                         FolderSpellings& spellings) {
    const std::optional<EntryId> fromId = identifyEntry(dirFd, from);
    if (!fromId) return false;
    if (namesEntry(dirFd, to, *fromId)) return true;
    if (!entryExists(dirFd, to)) return false;
    // Two entries that differ only in case can stand side by side only where case counts, and
    // then the listing shows both. A wrong answer costs no file either way: the detour
    // refuses a taken name as any rename does, and the plain way refuses the name it finds.
    return spellings.holds(dirFd, from) == true && spellings.holds(dirFd, to) == false;
}

bool sameEntryOnDisk(int dirFd, const QByteArray& from, const QByteArray& to) {
    FolderSpellings spellings;
    return sameEntryBySpelling(dirFd, from, to, spellings);
}

int checkEntryName(const QByteArray& name) {
    if (name.isEmpty() || name == "." || name == ".." || name.contains('/') ||
        name.contains('\0')) {
        return EINVAL;
    }
    if (name.size() > MaxNameBytes) return ENAMETOOLONG;
    return 0;
}

int renameKernelNoReplace(int dirFd, const QByteArray& from, const QByteArray& to,
                          const RenameCalls& calls) {
    if (calls.failuresAreFinal)
        return calls.renameNoReplace(dirFd, from.constData(), to.constData()) == 0 ? 0 : errno;
    const std::optional<EntryId> id = identifyEntry(dirFd, from);
    const bool toWasFree = !entryExists(dirFd, to);
    if (calls.renameNoReplace(dirFd, from.constData(), to.constData()) == 0) return 0;
    const int error = errno;
    if (id && toWasFree && moved(dirFd, from, to, *id)) return 0;
    return error;
}

int renameLinkThenUnlink(int dirFd, const QByteArray& from, const QByteArray& to,
                         const RenameCalls& calls) {
    const std::optional<EntryId> id = identifyEntry(dirFd, from);
    if (!id) return errno;
    const bool toWasFree = !entryExists(dirFd, to);
    // While the file has both names it says which is the old one, so that a crash in between
    // can be finished by the next listing.
    // A file that cannot carry the note (a symbolic link, a read-only file, a file system
    // without user xattrs) is not renamed this way: a crash would leave it with two names and
    // nothing to tell which one to keep. The claim can be told again after a crash.
    if (!markRenamedFrom(dirFd, from)) return EOPNOTSUPP;
    const auto done = [&](int result) {
        unmarkRenamedFrom(dirFd, result == 0 ? to : from);
        return result;
    };
    if (calls.link(dirFd, from.constData(), to.constData()) != 0) {
        const int error = errno;
        if (!toWasFree || !namesEntry(dirFd, to, *id)) return done(error);
    }
    // Both names lead to the file now. The old one is removed only while it still is this
    // file: another program may have put its own under that name meanwhile.
    if (!namesEntry(dirFd, from, *id)) return done(0);
    if (calls.unlink(dirFd, from.constData()) == 0) return done(0);
    const int error = errno;
    if (!namesEntry(dirFd, from, *id)) return done(0);
    // Take the new name back, so that nothing changed. Should that fail too, the note stays:
    // the next listing finishes the rename.
    if (removeIfStill(dirFd, to, *id, calls) != 0) return error;
    return done(error);
}

int renameClaimThenRename(int dirFd, const QByteArray& from, const QByteArray& to,
                          const RenameCalls& calls) {
    // A name renamed onto itself would claim its own name: were the file gone, an empty one
    // would appear in its place and the rename would report success.
    if (from == to) return entryExists(dirFd, from) ? EEXIST : errno;
    const std::optional<EntryId> id = identifyEntry(dirFd, from);
    if (!id) return errno;
    const bool toWasFree = !entryExists(dirFd, to);
    // Until the placeholder holds its text, only the notice tells it from a user's empty file
    // where the file system keeps no modes.
    const QByteArray notice = claimNoticeName(to);
    const bool noticed =
        toWasFree && notice.size() <= MaxNameBytes && createNotice(dirFd, notice.constData());
    const int claim = calls.createExclusive(dirFd, to.constData());
    if (noticed) ::unlinkat(dirFd, notice.constData(), 0);
    if (claim < 0) {
        const int error = errno;
        // Made after all, though reported as failed: it is taken back.
        if (toWasFree) removeIfClaim(dirFd, to, calls);
        return error;
    }
    struct stat claimStat;
    const bool known = ::fstat(claim, &claimStat) == 0;
    ::close(claim);
    if (!known) return EIO;  // a claim that cannot be told from another file is left alone
    const EntryId claimId{claimStat.st_dev, claimStat.st_ino};

    // The claim must still be the placeholder made above, just before it is renamed over:
    // another program may have saved its own file under the name meanwhile.
    if (!namesEntry(dirFd, to, claimId)) return EEXIST;
    if (!namesEntry(dirFd, from, *id)) {
        removeIfStill(dirFd, to, claimId, calls);
        return ENOENT;
    }
    if (calls.rename(dirFd, from.constData(), to.constData()) == 0) return 0;
    const int error = errno;
    if (moved(dirFd, from, to, *id)) return 0;
    removeIfStill(dirFd, to, claimId, calls);
    return error;
}

int renameCheckThenRename(int dirFd, const QByteArray& from, const QByteArray& to,
                          const RenameCalls& calls) {
    const std::optional<EntryId> id = identifyEntry(dirFd, from);
    if (entryExists(dirFd, to)) return EEXIST;
    if (errno != ENOENT) return errno;
    if (!id) return ENOENT;
    if (calls.rename(dirFd, from.constData(), to.constData()) == 0) return 0;
    const int error = errno;
    return moved(dirFd, from, to, *id) ? 0 : error;
}

int renameNoReplaceAt(int dirFd, const QByteArray& from, const QByteArray& to, RenameMethod method,
                      const SameEntryProbe& sameEntry, const RenameCalls& calls) {
    if (const int error = checkEntryName(from); error == EINVAL) return error;
    if (const int error = checkEntryName(to); error != 0) return error;
    if (differOnlyInCase(from, to) && sameEntry && sameEntry(dirFd, from, to)) {
        return renameCaseOnly(dirFd, from, to, method, calls);
    }
    return byMethod(dirFd, from, to, method, calls);
}

}  // namespace quillet
