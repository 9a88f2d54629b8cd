#include "platform/linux/qt_settings_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <cerrno>
#include <cstdlib>
#include <thread>

#include "platform/linux/ini_edit.h"

namespace quillet {

namespace {

constexpr int LockWaitMs = 300;
// A lock older than this is taken to be left over, whoever wrote it.
constexpr int StaleLockSeconds = 30;
constexpr qsizetype MaxSettingsBytes = 16 * 1024 * 1024;

bool WriteAll(int fd, const QByteArray& bytes) {
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t step =
            ::write(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (step < 0 && errno == EINTR) continue;
        if (step <= 0) return false;
        written += step;
    }
    return true;
}

// Each folder on the way, as "mkdir -p" makes them.
bool MakeFolders(const QByteArray& folder) {
    struct stat st;
    if (::stat(folder.constData(), &st) == 0) return S_ISDIR(st.st_mode);
    const qsizetype slash = folder.lastIndexOf('/');
    if (slash > 0 && !MakeFolders(folder.left(slash))) return false;
    return ::mkdir(folder.constData(), 0700) == 0 || errno == EEXIST;
}

// The settings file as it is: empty when there is none yet, nothing when what stands under
// its name is not a regular file (a FIFO or a device would block or never end) or cannot be
// read.
std::optional<QByteArray> ReadSettings(const QByteArray& path, mode_t& mode) {
    // Looked at before it is opened: opening a device can itself do something.
    struct stat before;
    if (::stat(path.constData(), &before) == 0 && !S_ISREG(before.st_mode)) return std::nullopt;
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno != ENOENT) return std::nullopt;
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
        return QByteArray();
    }
    struct stat st;
    std::optional<QByteArray> content;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= MaxSettingsBytes) {
        mode = st.st_mode & 07777;
        QByteArray bytes(static_cast<qsizetype>(st.st_size), '\0');
        qsizetype got = 0;
        bool ok = true;
        for (;;) {
            if (got == bytes.size()) bytes.resize(bytes.size() + 4096);
            const ssize_t step =
                ::read(fd, bytes.data() + got, static_cast<size_t>(bytes.size() - got));
            if (step < 0 && errno == EINTR) continue;
            if (step < 0) ok = false;
            if (step <= 0) break;
            got += step;
            if (got > MaxSettingsBytes) ok = false;
            if (!ok) break;
        }
        if (ok) content = bytes.left(got);
    }
    ::close(fd);
    return content;
}

// The lock a Qt program takes beside the file while it writes it. Taken when it can be within a
// short wait; given up when it is not a plain file or cannot be made, and taken over when the
// process that made it is gone or it is old.
class SettingsLock {
  public:
    explicit SettingsLock(QByteArray path) : m_path(std::move(path)) {
        QElapsedTimer waited;
        waited.start();
        while (!take() && usable() && waited.elapsed() < LockWaitMs)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ~SettingsLock() {
        struct stat st;
        // Only the lock made here is removed: a stale one may have been taken over meanwhile.
        if (m_held && ::lstat(m_path.constData(), &st) == 0 && st.st_dev == m_device &&
            st.st_ino == m_inode) {
            ::unlink(m_path.constData());
        }
    }
    SettingsLock(const SettingsLock&) = delete;
    SettingsLock& operator=(const SettingsLock&) = delete;

  private:
    bool take() {
        const int fd =
            ::open(m_path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd < 0) {
            m_error = errno;
            return false;
        }
        char host[256] = {};
        ::gethostname(host, sizeof host - 1);
        WriteAll(fd, QByteArray::number(::getpid()) + "\nQuillex\n" + host + '\n');
        struct stat st;
        m_held = ::fstat(fd, &st) == 0;
        m_device = st.st_dev;
        m_inode = st.st_ino;
        ::close(fd);
        return m_held;
    }

    // Whether waiting on could ever give the lock; a stale lock is removed on the way.
    bool usable() {
        if (m_error != EEXIST) return false;
        struct stat st;
        if (::lstat(m_path.constData(), &st) != 0) return errno == ENOENT;
        if (!S_ISREG(st.st_mode)) return false;
        if (!isStale(st)) return true;
        return ::unlink(m_path.constData()) == 0 || errno == ENOENT;
    }

    bool isStale(const struct stat& st) {
        if (::time(nullptr) - st.st_mtime > StaleLockSeconds) return true;
        const int fd = ::open(m_path.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) return false;
        char text[512] = {};
        const ssize_t got = ::read(fd, text, sizeof text - 1);
        ::close(fd);
        if (got <= 0) return false;
        const QList<QByteArray> lines = QByteArray(text, got).split('\n');
        bool ok = false;
        const long pid = lines.value(0).toLong(&ok);
        char host[256] = {};
        ::gethostname(host, sizeof host - 1);
        if (!ok || pid <= 0 || lines.value(2) != QByteArray(host)) return false;
        return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
    }

    QByteArray m_path;
    bool m_held = false;
    int m_error = 0;
    dev_t m_device = 0;
    ino_t m_inode = 0;
};

// Replaces the file in one step: a reader finds the old text or the new one, never a part.
bool ReplaceFile(const QByteArray& path, const QByteArray& content, mode_t mode) {
    const qsizetype slash = path.lastIndexOf('/');
    QByteArray temporary = path.left(slash + 1) + '.' + path.mid(slash + 1) + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, content);
    ok = ::fchmod(fd, mode) == 0 && ok;
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.constData(), path.constData()) == 0;
    if (!ok) ::unlink(temporary.constData());
    return ok;
}

}  // namespace

QByteArray UserConfigFolder() {
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    if (configHome.startsWith('/')) return configHome;
    QByteArray home = qgetenv("HOME");
    if (!home.startsWith('/')) {
        const struct passwd* entry = ::getpwuid(::getuid());
        home = entry && entry->pw_dir ? QByteArray(entry->pw_dir) : QByteArray();
    }
    if (!home.startsWith('/')) return QByteArray();
    if (home.size() > 1 && home.endsWith('/')) home.chop(1);
    return (home == "/" ? QByteArray() : home) + "/.config";
}

bool QtSettingsStore::write(const QString& application, const QString& section, const QString& key,
                            const QString& value) {
    const QByteArray folder = UserConfigFolder();
    if (folder.isEmpty() || application.isEmpty() || !MakeFolders(folder)) return false;
    QByteArray path = folder + '/' + application.toUtf8() + ".conf";
    // A file kept elsewhere behind a link is written where it is, and the link kept.
    if (char* resolved = ::realpath(path.constData(), nullptr)) {
        path = resolved;
        std::free(resolved);
    }
    const SettingsLock lock(path + ".lock");
    mode_t mode = 0644;
    const std::optional<QByteArray> content = ReadSettings(path, mode);
    if (!content) return false;
    const QByteArray updated =
        WithIniValue(*content, section.toUtf8(), key.toUtf8(), value.toUtf8());
    return ReplaceFile(path, updated, mode);
}

}  // namespace quillet
