#include "platform/linux/folder_spellings.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace quillet {

namespace {

std::optional<QSet<QByteArray>> ReadSpellings(int dirFd) {
    // A descriptor of its own: reading moves the position, and closing the listing closes it.
    const int fd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
        ::close(fd);
        return std::nullopt;
    }
    QSet<QByteArray> names;
    for (;;) {
        errno = 0;
        const dirent* found = ::readdir(dir);
        if (found == nullptr) break;
        names.insert(QByteArray(found->d_name));
    }
    const int error = errno;
    ::closedir(dir);
    if (error != 0) return std::nullopt;
    return names;
}

}  // namespace

std::optional<bool> FolderSpellings::holds(int dirFd, const QByteArray& name) {
    if (!m_names) m_names = ReadSpellings(dirFd);
    if (!m_names) return std::nullopt;
    return m_names->contains(name);
}

void FolderSpellings::renamed(const QByteArray& from, const QByteArray& to) {
    if (!m_names) return;
    m_names->remove(from);
    m_names->insert(to);
}

}  // namespace quillet
