#include "platform/linux/linux_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <utility>

#include "platform/linux/dos_attributes.h"
#include "platform/linux/linux_open_folder.h"

namespace quillet {

namespace {

const char* FolderArgument(const QByteArray& folder) {
    return folder.isEmpty() ? "." : folder.constData();
}

}  // namespace

LinuxFileSystem::LinuxFileSystem(RenameMethod method, SameEntryProbe sameEntry, RenameCalls calls)
    : m_method(method), m_sameEntry(std::move(sameEntry)), m_calls(std::move(calls)) {}

std::optional<std::vector<DirEntry>> LinuxFileSystem::listFiles(const QByteArray& folder,
                                                                const QString& patterns) {
    const std::unique_ptr<OpenFolder> open = openFolder(folder);
    if (!open) return std::nullopt;
    return open->listFiles(patterns);
}

std::unique_ptr<OpenFolder> LinuxFileSystem::openFolder(const QByteArray& folder) {
    const int fd = ::open(FolderArgument(folder), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    return std::make_unique<LinuxOpenFolder>(fd, m_method, m_sameEntry, m_calls);
}

std::optional<QByteArray> LinuxFileSystem::storedName(const QByteArray& path) {
    if (path.isEmpty() || path.endsWith('/')) return std::nullopt;
    struct stat st;
    if (::lstat(path.constData(), &st) != 0) return std::nullopt;
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray parent = slash < 0    ? QByteArray(".")
                              : slash == 0 ? QByteArray("/")
                                           : path.left(slash);
    const QByteArray leaf = path.mid(slash + 1);

    DIR* dir = ::opendir(parent.constData());
    // The entry exists but its folder cannot be read: the name as given is the best answer.
    if (dir == nullptr) return leaf;
    const QString wanted = QString::fromUtf8(leaf);
    std::optional<QByteArray> caseMatch;
    while (const dirent* found = ::readdir(dir)) {
        const QByteArray name(found->d_name);
        if (name == leaf) {
            caseMatch = name;
            break;
        }
        if (!caseMatch &&
            QString::compare(QString::fromUtf8(name), wanted, Qt::CaseInsensitive) == 0) {
            caseMatch = name;
        }
    }
    ::closedir(dir);
    return caseMatch ? *caseMatch : leaf;
}

std::optional<std::uint32_t> LinuxFileSystem::attributes(const QByteArray& path) {
    return ReadFileAttributes(AT_FDCWD, path);
}

std::optional<std::int64_t> LinuxFileSystem::modifiedSeconds(const QByteArray& path) {
    struct stat st;
    if (path.isEmpty() || ::stat(path.constData(), &st) != 0) return std::nullopt;
    return static_cast<std::int64_t>(st.st_mtime);
}

QByteArray LinuxFileSystem::currentDirectory() {
    QByteArray buffer(4096, '\0');
    for (int attempt = 0; attempt < 8; ++attempt) {
        if (::getcwd(buffer.data(), static_cast<size_t>(buffer.size())) != nullptr) {
            return QByteArray(buffer.constData());
        }
        if (errno != ERANGE) return QByteArray();
        buffer.resize(buffer.size() * 2);
    }
    return QByteArray();
}

bool LinuxFileSystem::setCurrentDirectory(const QByteArray& path) {
    return !path.isEmpty() && ::chdir(path.constData()) == 0;
}

bool LinuxFileSystem::isDirectory(const QByteArray& path) {
    struct stat st;
    return !path.isEmpty() && ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool LinuxFileSystem::removeFile(const QByteArray& path) {
    return !path.isEmpty() && ::unlink(path.constData()) == 0;
}

bool LinuxFileSystem::writeFile(const QByteArray& path, const QByteArray& content, unsigned mode) {
    if (path.isEmpty()) return false;
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    bool ok = true;
    qsizetype written = 0;
    while (ok && written < content.size()) {
        const ssize_t step = ::write(fd, content.constData() + written,
                                     static_cast<size_t>(content.size() - written));
        if (step < 0 && errno == EINTR) continue;
        ok = step > 0;
        if (ok) written += step;
    }
    ok = ::fchmod(fd, static_cast<mode_t>(mode)) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    return ok;
}

}  // namespace quillet
