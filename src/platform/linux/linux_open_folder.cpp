#include "platform/linux/linux_open_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <numeric>
#include <utility>

#include "platform/linux/dos_attributes.h"
#include "platform/linux/file_patterns.h"
#include "platform/linux/rename_leftovers.h"
#include "util/caseless_compare.h"

namespace quillet {

namespace {

// Case-insensitive name order with the raw bytes deciding ties, so that the order is total and
// the same on every run. Each name is decoded once, here, for the whole program: a folder may
// hold 100,000 files.
void sortByName(std::vector<DirEntry>& entries) {
    std::vector<CaselessKey> keys;
    keys.reserve(entries.size());
    for (DirEntry& entry : entries) {
        entry.name = QString::fromUtf8(entry.rawName);
        keys.push_back(MakeCaselessKey(entry.name));
    }
    std::vector<std::uint32_t> order(entries.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&entries, &keys](std::uint32_t a, std::uint32_t b) {
        const int comparison = CompareCaseless(entries[a].name, keys[a], entries[b].name, keys[b]);
        if (comparison != 0) return comparison < 0;
        return entries[a].rawName < entries[b].rawName;
    });
    std::vector<DirEntry> sorted;
    sorted.reserve(entries.size());
    for (const std::uint32_t from : order) sorted.push_back(std::move(entries[from]));
    entries = std::move(sorted);
}

}  // namespace

std::optional<std::vector<DirEntry>> ListFolder(int dirFd, const QString& patterns,
                                                QList<QByteArray>* leftovers) {
    // A descriptor of its own: reading moves the position, and closing the listing closes it.
    const int fd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
        ::close(fd);
        return std::nullopt;
    }
    const FilePatterns matcher(patterns);
    std::vector<DirEntry> entries;
    int readError = 0;
    for (;;) {
        errno = 0;
        const dirent* found = ::readdir(dir);
        if (found == nullptr) {
            readError = errno;
            break;
        }
        const unsigned char type = found->d_type;
        if (type != DT_REG && type != DT_LNK && type != DT_UNKNOWN) continue;
        QByteArray name(found->d_name);
        const bool listed = name[0] != '.' && matcher.matches(name);
        struct stat st;
        bool statted = false;
        if (listed) {
            statted = ::fstatat(fd, found->d_name, &st, 0) == 0;
        } else if (leftovers && type != DT_LNK && name != "." && name != "..") {
            // A leftover may stand under any name a rename gave, listed or not.
            statted = ::fstatat(fd, found->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0;
        }
        if (leftovers && (caseDetourOriginal(name) ||
                          (statted && (type == DT_REG || !listed) &&
                           mayBeRenameLeftover(name, st.st_mode, st.st_size, st.st_nlink)))) {
            leftovers->append(name);
        }
        if (!listed) continue;
        // A link counts when it leads to a regular file; an unknown type is looked up.
        if (type != DT_REG && !(statted && S_ISREG(st.st_mode))) continue;
        DirEntry entry;
        entry.rawName = std::move(name);
        if (statted) {
            entry.modifiedSeconds = static_cast<std::int64_t>(st.st_mtime);
            entry.modifiedKnown = true;
        }
        entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    if (readError != 0) return std::nullopt;
    sortByName(entries);
    return entries;
}

LinuxOpenFolder::LinuxOpenFolder(int dirFd, RenameMethod method, SameEntryProbe sameEntry,
                                 RenameCalls calls)
    : m_fd(dirFd), m_method(method), m_sameEntry(std::move(sameEntry)), m_calls(std::move(calls)) {}

LinuxOpenFolder::~LinuxOpenFolder() {
    if (m_fd >= 0) ::close(m_fd);
}

std::optional<std::vector<DirEntry>> LinuxOpenFolder::listFiles(const QString& patterns) {
    QList<QByteArray> leftovers;
    auto entries = ListFolder(m_fd, patterns, &leftovers);
    if (!entries || leftovers.isEmpty()) return entries;
    tidyRenameLeftovers(m_fd, leftovers, m_method, m_sameEntry, m_calls);
    return ListFolder(m_fd, patterns, nullptr);
}

int LinuxOpenFolder::renameNoReplace(const QByteArray& from, const QByteArray& to) {
    return renameNoReplaceAt(m_fd, from, to, m_method, m_sameEntry, m_calls);
}

std::optional<std::uint32_t> LinuxOpenFolder::attributes(const QByteArray& name) {
    if (checkEntryName(name) != 0) return std::nullopt;
    // A link has no attributes of its own: the pass leaves it and its target alone.
    return readFileAttributes(m_fd, name, LinkHandling::Refuse);
}

int LinuxOpenFolder::setAttributes(const QByteArray& name, std::uint32_t bits) {
    if (const int error = checkEntryName(name); error != 0) return error;
    return writeFileAttributes(m_fd, name, bits);
}

}  // namespace quillet
