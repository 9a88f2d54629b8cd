#include "reliability/folder_snapshot.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

namespace quillet::test {

namespace {

QByteArray ReadAll(int dirFd, const char* name) {
    const int fd = ::openat(dirFd, name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) throw std::runtime_error("snapshot: cannot open a file");
    QByteArray content;
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0) content.append(buffer, got);
    ::close(fd);
    return content;
}

void Walk(int dirFd, const QByteArray& prefix, Snapshot& out) {
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        throw std::runtime_error("snapshot: cannot read a folder");
    }
    while (const dirent* found = ::readdir(dir)) {
        const QByteArray name(found->d_name);
        if (name == "." || name == "..") continue;
        const QByteArray path = prefix.isEmpty() ? name : prefix + '/' + name;
        struct stat st;
        if (::fstatat(::dirfd(dir), found->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        SnapshotEntry entry;
        if (S_ISREG(st.st_mode)) {
            entry.kind = SnapshotEntry::Kind::File;
            entry.data = ReadAll(::dirfd(dir), found->d_name);
        } else if (S_ISLNK(st.st_mode)) {
            entry.kind = SnapshotEntry::Kind::Link;
            char target[4096];
            const ssize_t length = ::readlinkat(::dirfd(dir), found->d_name, target, sizeof target);
            if (length > 0) entry.data = QByteArray(target, length);
        } else if (S_ISDIR(st.st_mode)) {
            entry.kind = SnapshotEntry::Kind::Folder;
            const int child =
                ::openat(::dirfd(dir), found->d_name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (child >= 0) Walk(child, path, out);
        }
        out[path] = entry;
    }
    ::closedir(dir);
}

bool DirectlyInside(const QByteArray& path, const QByteArray& folder) {
    const QByteArray head = folder + '/';
    return path.startsWith(head) && !path.mid(head.size()).contains('/');
}

}  // namespace

QByteArray SnapshotEntry::identity() const {
    switch (kind) {
        case Kind::File:
            return "file:" + data;
        case Kind::Link:
            return "link:" + data;
        case Kind::Folder:
            return "folder";
        case Kind::Other:
            break;
    }
    return "other";
}

Snapshot TakeSnapshot(const QByteArray& root) {
    Snapshot snapshot;
    const int fd = ::open(root.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("snapshot: no such folder");
    Walk(fd, QByteArray(), snapshot);
    return snapshot;
}

Snapshot EntriesOf(const Snapshot& snapshot, const QByteArray& folder) {
    Snapshot inside;
    for (const auto& [path, entry] : snapshot) {
        if (DirectlyInside(path, folder)) inside[path.mid(folder.size() + 1)] = entry;
    }
    return inside;
}

Snapshot WithoutEntriesOf(const Snapshot& snapshot, const QByteArray& folder) {
    Snapshot rest;
    for (const auto& [path, entry] : snapshot) {
        if (!DirectlyInside(path, folder)) rest[path] = entry;
    }
    return rest;
}

QString Printable(const QByteArray& raw) {
    QString text;
    for (const char byte : raw) {
        const auto c = static_cast<unsigned char>(byte);
        if (c >= 0x20 && c < 0x7f) {
            text += QLatin1Char(static_cast<char>(c));
        } else {
            text += QStringLiteral("\\x%1").arg(c, 2, 16, QLatin1Char('0'));
        }
    }
    return text;
}

QString DescribeDifference(const Snapshot& expected, const Snapshot& actual) {
    QString text;
    for (const auto& [path, entry] : expected) {
        const auto found = actual.find(path);
        if (found == actual.end()) {
            text += QStringLiteral("  missing: %1 (%2)\n")
                        .arg(Printable(path), Printable(entry.identity().left(40)));
        } else if (!(found->second == entry)) {
            text += QStringLiteral("  changed: %1 (%2 became %3)\n")
                        .arg(Printable(path), Printable(entry.identity().left(40)),
                             Printable(found->second.identity().left(40)));
        }
    }
    for (const auto& [path, entry] : actual) {
        if (!expected.count(path)) {
            text += QStringLiteral("  unexpected: %1 (%2)\n")
                        .arg(Printable(path), Printable(entry.identity().left(40)));
        }
    }
    return text;
}

}  // namespace quillet::test
