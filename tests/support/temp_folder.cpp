#include "support/temp_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

namespace quillet::test {

TempFolder::TempFolder() {
    if (!m_dir.isValid()) throw std::runtime_error("no temporary folder");
}

TempFolder::TempFolder(const QString& under) : m_dir(under + QStringLiteral("/quillet-XXXXXX")) {
    if (!m_dir.isValid()) throw std::runtime_error("no temporary folder");
}

TempFolder::~TempFolder() {
    const auto removeOne = [](const char* path, const struct stat*, int type, struct FTW* at) {
        if (at->level == 0) return 0;
        if (type == FTW_DP) {
            ::rmdir(path);
        } else {
            ::unlink(path);
        }
        return 0;
    };
    ::chmod(path().constData(), 0700);
    ::nftw(path().constData(), removeOne, 16, FTW_DEPTH | FTW_PHYS);
}

QByteArray TempFolder::path() const {
    return m_dir.path().toUtf8();
}

QByteArray TempFolder::pathOf(const QByteArray& name) const {
    return path() + '/' + name;
}

QByteArray TempFolder::write(const QByteArray& name, const QByteArray& content) const {
    const QByteArray full = pathOf(name);
    const int fd = ::open(full.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) throw std::runtime_error("cannot create test file");
    const ssize_t written = ::write(fd, content.constData(), static_cast<size_t>(content.size()));
    ::close(fd);
    if (written != content.size()) throw std::runtime_error("short write");
    return full;
}

QByteArray TempFolder::read(const QByteArray& name) const {
    const int fd = ::open(pathOf(name).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("cannot open test file");
    QByteArray content;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0) content.append(buffer, got);
    ::close(fd);
    return content;
}

bool TempFolder::exists(const QByteArray& name) const {
    struct stat st;
    return ::lstat(pathOf(name).constData(), &st) == 0;
}

QList<QByteArray> NamesIn(const QByteArray& folder) {
    QList<QByteArray> result;
    DIR* dir = ::opendir(folder.constData());
    if (!dir) return result;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..") result.push_back(name);
    }
    ::closedir(dir);
    std::sort(result.begin(), result.end());
    return result;
}

QList<QByteArray> TempFolder::names() const {
    return NamesIn(path());
}

QByteArray TempFolder::makeFolder(const QByteArray& name) const {
    const QByteArray full = pathOf(name);
    ::mkdir(full.constData(), 0755);
    return full;
}

}  // namespace quillet::test
