#include "platform/linux/rename_leftovers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace quillet {

namespace {

// A placeholder made by the claim step and nothing else: a regular file of one name, with the
// claim's content or, where a crash came before that was written, without any permission bit.
bool isClaim(int dirFd, const QByteArray& name, EntryId& id) {
    struct stat st;
    if (::fstatat(dirFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (!S_ISREG(st.st_mode) || st.st_nlink != 1) return false;
    id = {st.st_dev, st.st_ino};
    const QByteArray& mark = claimContent();
    if ((st.st_mode & 07777) == 0) return st.st_size == 0 || st.st_size == mark.size();
    if (st.st_size != mark.size()) return false;
    const int fd =
        ::openat(dirFd, name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return false;
    QByteArray content(mark.size() + 1, '\0');
    const ssize_t got = ::read(fd, content.data(), static_cast<size_t>(content.size()));
    struct stat opened;
    const bool same = ::fstat(fd, &opened) == 0 && EntryId{opened.st_dev, opened.st_ino} == id;
    ::close(fd);
    return same && got == mark.size() && content.left(got) == mark;
}

}  // namespace

std::optional<EntryId> identifyEntry(int dirFd, const QByteArray& name) {
    struct stat st;
    if (::fstatat(dirFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
    return EntryId{st.st_dev, st.st_ino};
}

bool namesEntry(int dirFd, const QByteArray& name, const EntryId& id) {
    const std::optional<EntryId> found = identifyEntry(dirFd, name);
    return found && *found == id;
}

bool entryExists(int dirFd, const QByteArray& name) {
    return identifyEntry(dirFd, name).has_value();
}

int removeIfStill(int dirFd, const QByteArray& name, const EntryId& id, const RenameCalls& calls) {
    if (!namesEntry(dirFd, name, id)) return 0;
    if (calls.unlink(dirFd, name.constData()) == 0) return 0;
    const int error = errno;
    return namesEntry(dirFd, name, id) ? error : 0;
}

int removeIfClaim(int dirFd, const QByteArray& name, const RenameCalls& calls) {
    EntryId id;
    return isClaim(dirFd, name, id) ? removeIfStill(dirFd, name, id, calls) : 0;
}

const QByteArray& claimContent() {
    static const QByteArray content("quillet: name held for a rename in progress\n");
    return content;
}

bool mayBeRenameLeftover(const QByteArray& name, mode_t mode, off_t size) {
    if (caseDetourOriginal(name)) return true;
    return S_ISREG(mode) && (size == 0 || size == claimContent().size()) &&
           (size != 0 || (mode & 07777) == 0);
}

QList<QByteArray> tidyRenameLeftovers(int dirFd, const QList<QByteArray>& candidates,
                                      RenameMethod method, const SameEntryProbe& sameEntry,
                                      const RenameCalls& calls) {
    QList<QByteArray> stranded;
    for (const QByteArray& name : candidates) {
        if (const std::optional<QByteArray> original = caseDetourOriginal(name)) {
            const int error = renameNoReplaceAt(dirFd, name, *original, method, sameEntry, calls);
            if (error != 0 && entryExists(dirFd, name)) stranded.append(name);
            continue;
        }
        removeIfClaim(dirFd, name, calls);
    }
    return stranded;
}

}  // namespace quillet
