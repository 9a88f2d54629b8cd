#include "platform/linux/hidden_list.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QList>
#include <QRandomGenerator>
#include <cerrno>
#include <utility>

namespace quillet {

namespace {

// No folder's list of hidden names is anywhere near this; a larger file is left alone.
constexpr qsizetype MaxListSize = 16 * 1024 * 1024;

// The folder that holds the entry, opened, and the entry's own name in it.
class EntryFolder {
  public:
    EntryFolder(int dirFd, const QByteArray& name) {
        const qsizetype slash = name.lastIndexOf('/');
        m_name = name.mid(slash + 1);
        if (slash < 0) {
            m_fd = dirFd;
            return;
        }
        const QByteArray folder = slash == 0 ? QByteArray("/") : name.left(slash);
        m_owned = ::openat(dirFd, folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        m_fd = m_owned;
    }
    ~EntryFolder() {
        if (m_owned >= 0) ::close(m_owned);
    }
    EntryFolder(const EntryFolder&) = delete;
    EntryFolder& operator=(const EntryFolder&) = delete;

    int fd() const { return m_fd; }
    const QByteArray& name() const { return m_name; }
    // A name that one line of the list can hold.
    bool listable() const {
        return !m_name.isEmpty() && !m_name.contains('\n') && m_name != "." && m_name != "..";
    }

  private:
    int m_fd = -1;
    int m_owned = -1;
    QByteArray m_name;
};

struct HiddenList {
    bool exists = false;
    QByteArray content;
    struct stat st {};
};

// Reads the list; 0 when it was read or there is none, else the errno value. A list that is not
// a plain file (a link, say) is never read or replaced.
int ReadList(int folderFd, HiddenList& list) {
    const int fd =
        ::openat(folderFd, HiddenListName, O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno == ENOENT ? 0 : errno;
    int result = 0;
    if (::fstat(fd, &list.st) != 0) {
        result = errno;
    } else if (!S_ISREG(list.st.st_mode) || list.st.st_size > MaxListSize) {
        result = EPERM;
    } else {
        list.exists = true;
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) result = errno;
            if (got <= 0) break;
            list.content.append(buffer, got);
            if (list.content.size() > MaxListSize) {
                result = EPERM;
                break;
            }
        }
    }
    ::close(fd);
    return result;
}

// The offsets of every line equal to `name`, each with the length to cut (its line break too).
QList<std::pair<qsizetype, qsizetype>> LinesNaming(const QByteArray& content,
                                                   const QByteArray& name) {
    QList<std::pair<qsizetype, qsizetype>> found;
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        const qsizetype lineEnd = end < 0 ? content.size() : end;
        if (QByteArrayView(content).sliced(start, lineEnd - start) == name) {
            found.append({start, (end < 0 ? lineEnd : end + 1) - start});
        }
        start = lineEnd + 1;
    }
    return found;
}

bool WriteAll(int fd, const QByteArray& content) {
    qsizetype written = 0;
    while (written < content.size()) {
        const ssize_t step = ::write(fd, content.constData() + written,
                                     static_cast<size_t>(content.size() - written));
        if (step < 0 && errno == EINTR) continue;
        if (step <= 0) return false;
        written += step;
    }
    return true;
}

bool HasCreatedMark(int folderFd) {
    const int fd =
        ::openat(folderFd, HiddenListName, O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    const bool marked = ::fgetxattr(fd, HiddenListCreatedMark, nullptr, 0) >= 0;
    ::close(fd);
    return marked;
}

// A list where there was none, written in its place: where the file system makes no links
// (FAT, exFAT), nothing else can refuse to replace a list that appeared meanwhile, and with no
// list before, no reader can see half of one.
int WriteNewList(int folderFd, const QByteArray& content) {
    const int fd = ::openat(folderFd, HiddenListName,
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    ::fsetxattr(fd, HiddenListCreatedMark, "1", 1, 0);
    bool ok = WriteAll(fd, content);
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (ok) return 0;
    ::unlinkat(folderFd, HiddenListName, 0);
    return EIO;
}

// Writes the new list beside the old one and puts it in its place in one step, so that a reader
// sees either list whole. A new list never replaces one that appeared meanwhile.
int ReplaceList(int folderFd, const HiddenList& old, const QByteArray& content) {
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = QByteArray(HiddenListName) + ".quillet-" +
                    QByteArray::number(QRandomGenerator::global()->generate(), 36);
        fd = ::openat(folderFd, temporary.constData(),
                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return errno;
    }
    if (fd < 0) return EEXIST;

    bool ok = WriteAll(fd, content);
    if (old.exists) {
        // Where the file system keeps no modes (FAT through FUSE), there are none to keep.
        if (::fchmod(fd, old.st.st_mode & 07777) != 0 && errno != ENOSYS && errno != EOPNOTSUPP)
            ok = false;
        if (::fchown(fd, old.st.st_uid, old.st.st_gid) != 0) {
            // Someone else's list stays readable to its owner through its mode.
        }
        if (HasCreatedMark(folderFd)) ::fsetxattr(fd, HiddenListCreatedMark, "1", 1, 0);
    } else {
        // Where the file system keeps no extended attributes, the list is simply never removed.
        ::fsetxattr(fd, HiddenListCreatedMark, "1", 1, 0);
    }
    ok = ::fsync(fd) == 0 && ok;
    int result = ok ? 0 : (errno ? errno : EIO);
    ok = ::close(fd) == 0 && ok;
    if (ok && old.exists) {
        if (::renameat(folderFd, temporary.constData(), folderFd, HiddenListName) != 0)
            result = errno;
    } else if (ok) {
        if (::linkat(folderFd, temporary.constData(), folderFd, HiddenListName, 0) != 0) {
            result = errno;
            if (result == EPERM || result == EOPNOTSUPP || result == ENOSYS)
                result = WriteNewList(folderFd, content);
        }
    } else if (result == 0) {
        result = EIO;
    }
    ::unlinkat(folderFd, temporary.constData(), 0);
    return result;
}

}  // namespace

bool ListedAsHidden(int dirFd, const QByteArray& name) {
    const EntryFolder folder(dirFd, name);
    if (folder.fd() < 0 && folder.fd() != AT_FDCWD) return false;
    if (!folder.listable()) return false;
    HiddenList list;
    if (ReadList(folder.fd(), list) != 0 || !list.exists) return false;
    return !LinesNaming(list.content, folder.name()).isEmpty();
}

int SetListedAsHidden(int dirFd, const QByteArray& name, bool listed) {
    const EntryFolder folder(dirFd, name);
    if (folder.fd() < 0 && folder.fd() != AT_FDCWD) return errno ? errno : EBADF;
    if (!folder.listable()) return listed ? EINVAL : 0;
    HiddenList list;
    if (const int error = ReadList(folder.fd(), list)) return error;
    const auto found = LinesNaming(list.content, folder.name());

    QByteArray content = list.content;
    if (listed) {
        if (!found.isEmpty()) return 0;
        if (!content.isEmpty() && !content.endsWith('\n')) content += '\n';
        content += folder.name() + '\n';
    } else {
        if (found.isEmpty()) return 0;
        for (auto it = found.crbegin(); it != found.crend(); ++it) {
            content.remove(it->first, it->second);
        }
        if (content.isEmpty() && HasCreatedMark(folder.fd())) {
            return ::unlinkat(folder.fd(), HiddenListName, 0) == 0 ? 0 : errno;
        }
    }
    return ReplaceList(folder.fd(), list, content);
}

}  // namespace quillet
