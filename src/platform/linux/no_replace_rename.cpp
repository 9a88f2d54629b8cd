#include "platform/linux/no_replace_rename.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QString>
#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "platform/file_system.h"

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

int byMethod(int dirFd, const QByteArray& from, const QByteArray& to, RenameMethod method) {
    switch (method) {
        case RenameMethod::KernelNoReplace:
            return renameKernelNoReplace(dirFd, from, to);
        case RenameMethod::LinkThenUnlink:
            return renameLinkThenUnlink(dirFd, from, to);
        case RenameMethod::ClaimThenRename:
            return renameClaimThenRename(dirFd, from, to);
        case RenameMethod::CheckThenRename:
            return renameCheckThenRename(dirFd, from, to);
        case RenameMethod::Cascade:
            break;
    }
    int error = renameKernelNoReplace(dirFd, from, to);
    if (!noReplaceUnsupported(error)) return error;
    error = renameLinkThenUnlink(dirFd, from, to);
    if (!linkRefused(error)) return error;
    error = renameClaimThenRename(dirFd, from, to);
    if (!claimRefused(error)) return error;
    return renameCheckThenRename(dirFd, from, to);
}

// On a file system that ignores case, "a.JPG" already exists when "a.jpg" does, so no
// no-replace rename could ever change the case; a detour through a free name can.
int renameCaseOnly(int dirFd, const QByteArray& from, const QByteArray& to, RenameMethod method) {
    const QByteArray stem = ".quillet-case-" + QByteArray::number(::getpid()) + '-';
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray temporary = stem + QByteArray::number(attempt);
        int error = byMethod(dirFd, from, temporary, method);
        if (error == EEXIST) continue;
        if (error != 0) return error;
        error = byMethod(dirFd, temporary, to, method);
        if (error != 0) byMethod(dirFd, temporary, from, method);
        return error;
    }
    return EEXIST;
}

}  // namespace

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

bool sameEntryOnDisk(int dirFd, const QByteArray& from, const QByteArray& to) {
    struct stat fromStat, toStat;
    if (::fstatat(dirFd, from.constData(), &fromStat, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (::fstatat(dirFd, to.constData(), &toStat, AT_SYMLINK_NOFOLLOW) != 0) return false;
    return fromStat.st_dev == toStat.st_dev && fromStat.st_ino == toStat.st_ino;
}

int checkEntryName(const QByteArray& name) {
    if (name.isEmpty() || name == "." || name == ".." || name.contains('/') ||
        name.contains('\0')) {
        return EINVAL;
    }
    if (name.size() > MaxNameBytes) return ENAMETOOLONG;
    return 0;
}

int renameKernelNoReplace(int dirFd, const QByteArray& from, const QByteArray& to) {
    return callRenameat2(dirFd, from.constData(), to.constData()) == 0 ? 0 : errno;
}

int renameLinkThenUnlink(int dirFd, const QByteArray& from, const QByteArray& to) {
    if (::linkat(dirFd, from.constData(), dirFd, to.constData(), 0) != 0) return errno;
    if (::unlinkat(dirFd, from.constData(), 0) != 0) {
        const int error = errno;
        // Both names now lead to the file; take the new one back so that nothing changed.
        ::unlinkat(dirFd, to.constData(), 0);
        return error;
    }
    return 0;
}

int renameClaimThenRename(int dirFd, const QByteArray& from, const QByteArray& to) {
    // A name renamed onto itself would claim its own name: were the file gone, an empty one
    // would appear in its place and the rename would report success.
    if (from == to) {
        struct stat st;
        return ::fstatat(dirFd, from.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 ? EEXIST : errno;
    }
    const int claim =
        ::openat(dirFd, to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (claim < 0) return errno;
    ::close(claim);
    if (::renameat(dirFd, from.constData(), dirFd, to.constData()) != 0) {
        const int error = errno;
        ::unlinkat(dirFd, to.constData(), 0);
        return error;
    }
    return 0;
}

int renameCheckThenRename(int dirFd, const QByteArray& from, const QByteArray& to) {
    struct stat st;
    if (::fstatat(dirFd, to.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) return EEXIST;
    if (errno != ENOENT) return errno;
    return ::renameat(dirFd, from.constData(), dirFd, to.constData()) == 0 ? 0 : errno;
}

int renameNoReplaceAt(int dirFd, const QByteArray& from, const QByteArray& to, RenameMethod method,
                      const SameEntryProbe& sameEntry) {
    if (const int error = checkEntryName(from); error == EINVAL) return error;
    if (const int error = checkEntryName(to); error != 0) return error;
    if (differOnlyInCase(from, to) && sameEntry && sameEntry(dirFd, from, to)) {
        return renameCaseOnly(dirFd, from, to, method);
    }
    return byMethod(dirFd, from, to, method);
}

}  // namespace quillet
