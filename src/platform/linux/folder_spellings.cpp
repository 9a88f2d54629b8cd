#include "platform/linux/folder_spellings.h"

#include <cerrno>

#include "platform/linux/dir_stream.h"

namespace quillet {

namespace {

std::optional<QSet<QByteArray>> ReadSpellings(int dirFd) {
    DIR* dir = OpenDirStream(dirFd);
    if (dir == nullptr) return std::nullopt;
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
