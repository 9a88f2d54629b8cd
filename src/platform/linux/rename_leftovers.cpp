#include "platform/linux/rename_leftovers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>

namespace quillet {

namespace {

constexpr char RenamedFromNote[] = "user.quillet.renamed-from";

QByteArray PathIn(int dirFd, const QByteArray& name) {
    return "/proc/self/fd/" + QByteArray::number(dirFd) + '/' + name;
}

// The second name of a file whose note names its first, as a crash between the link and the
// removal of the old name leaves it: the old name goes, once it is proven to be this file.
void FinishSecondLink(int dirFd, const QByteArray& name, const RenameCalls& calls) {
    char old[256];
    const ssize_t got =
        ::lgetxattr(PathIn(dirFd, name).constData(), RenamedFromNote, old, sizeof old);
    if (got <= 0) return;
    const QByteArray from(old, got);
    const std::optional<EntryId> id = IdentifyEntry(dirFd, name);
    if (from == name || CheckEntryName(from) != 0 || !id) return;
    if (NamesEntry(dirFd, from, *id) && RemoveIfStill(dirFd, from, *id, calls) != 0) return;
    UnmarkRenamedFrom(dirFd, name);
}

// A placeholder made by the claim step and nothing else: a regular file of one name, with the
// claim's content or, where a crash came before that was written, without any permission bit.
bool IsClaim(int dirFd, const QByteArray& name, EntryId& id) {
    struct stat st;
    if (::fstatat(dirFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (!S_ISREG(st.st_mode) || st.st_nlink != 1) return false;
    id = {st.st_dev, st.st_ino};
    const QByteArray& mark = ClaimContent();
    const bool sealed = (st.st_mode & 07777) == 0;
    // A claim is made without permissions and gets its text in the next call; a crash between
    // the two leaves it empty.
    if (sealed && st.st_size == 0) return true;
    if (st.st_size != mark.size()) return false;
    const int fd =
        ::openat(dirFd, name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    // Without read permission the text cannot be compared; a file without any permission bits
    // and of exactly the claim's size is taken for one. Whoever may read it has it compared.
    if (fd < 0) return sealed && errno == EACCES;
    QByteArray content(mark.size() + 1, '\0');
    const ssize_t got = ::read(fd, content.data(), static_cast<size_t>(content.size()));
    struct stat opened;
    const bool same = ::fstat(fd, &opened) == 0 && EntryId{opened.st_dev, opened.st_ino} == id;
    ::close(fd);
    return same && got == mark.size() && content.left(got) == mark;
}

}  // namespace

std::optional<EntryId> IdentifyEntry(int dirFd, const QByteArray& name) {
    struct stat st;
    if (::fstatat(dirFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
    return EntryId{st.st_dev, st.st_ino};
}

bool NamesEntry(int dirFd, const QByteArray& name, const EntryId& id) {
    const std::optional<EntryId> found = IdentifyEntry(dirFd, name);
    return found && *found == id;
}

bool EntryExists(int dirFd, const QByteArray& name) {
    return IdentifyEntry(dirFd, name).has_value();
}

int RemoveIfStill(int dirFd, const QByteArray& name, const EntryId& id, const RenameCalls& calls) {
    if (!NamesEntry(dirFd, name, id)) return 0;
    if (calls.unlink(dirFd, name.constData()) == 0) return 0;
    const int error = errno;
    return NamesEntry(dirFd, name, id) ? error : 0;
}

int RemoveIfClaim(int dirFd, const QByteArray& name, const RenameCalls& calls) {
    EntryId id;
    return IsClaim(dirFd, name, id) ? RemoveIfStill(dirFd, name, id, calls) : 0;
}

const QByteArray& ClaimContent() {
    static const QByteArray content("quillet: name held for a rename in progress\n");
    return content;
}

bool MarkRenamedFrom(int dirFd, const QByteArray& from) {
    return ::lsetxattr(PathIn(dirFd, from).constData(), RenamedFromNote, from.constData(),
                       static_cast<size_t>(from.size()), 0) == 0;
}

void UnmarkRenamedFrom(int dirFd, const QByteArray& name) {
    ::lremovexattr(PathIn(dirFd, name).constData(), RenamedFromNote);
}

bool HasLeftoverName(const QByteArray& name) {
    return CaseDetourOriginal(name) || ClaimNoticeClaimed(name);
}

bool MayBeRenameLeftover(const QByteArray& name, mode_t mode, off_t size, nlink_t links) {
    if (HasLeftoverName(name)) return true;
    if (S_ISREG(mode) && links == 2) return true;
    return S_ISREG(mode) && (size == 0 || size == ClaimContent().size()) &&
           (size != 0 || (mode & 07777) == 0);
}

QList<QByteArray> TidyRenameLeftovers(int dirFd, const QList<QByteArray>& candidates,
                                      RenameMethod method, const SameEntryProbe& sameEntry,
                                      const RenameCalls& calls) {
    // Notices go first, with the placeholders they announce: where the file system keeps no
    // modes, nothing else tells an empty one from a user's empty file.
    for (const QByteArray& name : candidates) {
        const std::optional<QByteArray> claimed = ClaimNoticeClaimed(name);
        if (!claimed || CheckEntryName(*claimed) != 0) continue;
        struct stat st;
        if (::fstatat(dirFd, claimed->constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && st.st_nlink == 1 && st.st_size == 0) {
            RemoveIfStill(dirFd, *claimed, {st.st_dev, st.st_ino}, calls);
        }
        const std::optional<EntryId> id = IdentifyEntry(dirFd, name);
        if (id) RemoveIfStill(dirFd, name, *id, calls);
    }
    // Claims go next: on a file system that ignores case, a claim under the new name would
    // hold the old name too, which a detour has to be given back.
    QList<QByteArray> detours;
    for (const QByteArray& name : candidates) {
        if (ClaimNoticeClaimed(name)) continue;
        EntryId id;
        // A detour name may hold a claim itself: the crash came in the detour's first step.
        if (IsClaim(dirFd, name, id)) {
            RemoveIfStill(dirFd, name, id, calls);
            continue;
        }
        FinishSecondLink(dirFd, name, calls);
        if (CaseDetourOriginal(name)) detours.append(name);
    }
    QList<QByteArray> stranded;
    for (const QByteArray& name : detours) {
        if (!EntryExists(dirFd, name)) continue;
        const QByteArray original = *CaseDetourOriginal(name);
        const int error = RenameNoReplaceAt(dirFd, name, original, method, sameEntry, calls);
        if (error != 0 && EntryExists(dirFd, name)) stranded.append(name);
    }
    return stranded;
}

}  // namespace quillet
