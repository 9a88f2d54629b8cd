#include "platform/linux/linux_open_folder.h"

#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/linux/dos_attributes.h"

namespace quillet {

LinuxOpenFolder::LinuxOpenFolder(int dirFd, RenameMethod method, SameEntryProbe sameEntry)
    : m_fd(dirFd), m_method(method), m_sameEntry(std::move(sameEntry)) {}

LinuxOpenFolder::~LinuxOpenFolder() {
    if (m_fd >= 0) ::close(m_fd);
}

int LinuxOpenFolder::renameNoReplace(const QByteArray& from, const QByteArray& to) {
    return renameNoReplaceAt(m_fd, from, to, m_method, m_sameEntry);
}

std::optional<std::uint32_t> LinuxOpenFolder::attributes(const QByteArray& name) {
    if (checkEntryName(name) != 0) return std::nullopt;
    return readFileAttributes(m_fd, name);
}

int LinuxOpenFolder::setAttributes(const QByteArray& name, std::uint32_t bits) {
    if (const int error = checkEntryName(name); error != 0) return error;
    return writeFileAttributes(m_fd, name, bits);
}

}  // namespace quillet
