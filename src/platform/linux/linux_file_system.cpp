#include "platform/linux/linux_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <numeric>
#include <string>
#include <string_view>
#include <utility>

#include "platform/linux/dos_attributes.h"
#include "platform/linux/file_patterns.h"
#include "platform/linux/linux_open_folder.h"
#include "util/caseless_compare.h"

namespace quillet {

namespace {

const char* folderArgument(const QByteArray& folder) {
    return folder.isEmpty() ? "." : folder.constData();
}

// Appends a name as text. Most names are plain ASCII, which is widened directly; any other
// byte sends the name through the full UTF-8 decoder (invalid bytes become replacement
// characters).
void appendDecoded(std::string_view raw, std::u16string& texts) {
    if (std::all_of(raw.begin(), raw.end(),
                    [](char byte) { return static_cast<unsigned char>(byte) < 0x80; })) {
        texts.append(raw.begin(), raw.end());
        return;
    }
    const QString decoded = QString::fromUtf8(raw.data(), static_cast<qsizetype>(raw.size()));
    texts.append(reinterpret_cast<const char16_t*>(decoded.utf16()),
                 static_cast<std::size_t>(decoded.size()));
}

// The files a listing finds, gathered in one buffer while the folder is read. Their entries are
// made once they stand in order, so that the names lie in memory in the order the file list
// walks them: a folder may hold 100,000 files.
class FoundFiles {
  public:
    void add(const QByteArray& name, const struct stat* st) {
        m_found.push_back({m_bytes.size(), static_cast<std::size_t>(name.size()),
                           st ? static_cast<std::int64_t>(st->st_mtime) : 0, st != nullptr});
        m_bytes.append(name.constData(), static_cast<std::size_t>(name.size()));
    }

    // In case-insensitive name order with the raw bytes deciding ties, so that the order is
    // total and the same on every run. Each name is decoded once, here, for the whole program.
    std::vector<DirEntry> sortedEntries() const {
        std::u16string texts;
        texts.reserve(m_bytes.size());
        std::vector<std::size_t> starts;
        starts.reserve(m_found.size() + 1);
        for (const Found& found : m_found) {
            starts.push_back(texts.size());
            appendDecoded(rawOf(found), texts);
        }
        starts.push_back(texts.size());
        std::vector<QStringView> names;
        names.reserve(m_found.size());
        for (std::size_t i = 0; i < m_found.size(); ++i)
            names.emplace_back(texts.data() + starts[i], starts[i + 1] - starts[i]);
        const std::vector<std::uint32_t> order =
            CaselessOrder(names, false, [this](std::uint32_t a, std::uint32_t b) {
                return rawOf(m_found[a]) < rawOf(m_found[b]);
            });
        std::vector<DirEntry> entries;
        entries.reserve(m_found.size());
        for (std::size_t k = 0; k < m_found.size(); ++k) {
            const std::uint32_t i = order.empty() ? static_cast<std::uint32_t>(k) : order[k];
            const std::string_view raw = rawOf(m_found[i]);
            DirEntry entry;
            entry.rawName = QByteArray(raw.data(), static_cast<qsizetype>(raw.size()));
            entry.name = names[i].toString();
            entry.modifiedSeconds = m_found[i].modifiedSeconds;
            entry.modifiedKnown = m_found[i].modifiedKnown;
            entries.push_back(std::move(entry));
        }
        return entries;
    }

  private:
    struct Found {
        std::size_t offset;
        std::size_t length;
        std::int64_t modifiedSeconds;
        bool modifiedKnown;
    };

    std::string_view rawOf(const Found& found) const {
        return std::string_view(m_bytes).substr(found.offset, found.length);
    }

    std::string m_bytes;
    std::vector<Found> m_found;
};

}  // namespace

LinuxFileSystem::LinuxFileSystem(RenameMethod method, SameEntryProbe sameEntry)
    : m_method(method), m_sameEntry(std::move(sameEntry)) {}

std::optional<std::vector<DirEntry>> LinuxFileSystem::listFiles(const QByteArray& folder,
                                                                const QString& patterns) {
    const int fd = ::open(folderArgument(folder), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
        ::close(fd);
        return std::nullopt;
    }
    const FilePatterns matcher(patterns);
    FoundFiles listed;
    int readError = 0;
    for (;;) {
        errno = 0;
        const dirent* found = ::readdir(dir);
        if (found == nullptr) {
            readError = errno;
            break;
        }
        if (found->d_name[0] == '.') continue;
        const unsigned char type = found->d_type;
        if (type != DT_REG && type != DT_LNK && type != DT_UNKNOWN) continue;
        const QByteArray name = QByteArray::fromRawData(found->d_name, qstrlen(found->d_name));
        if (!matcher.matches(name)) continue;
        struct stat st;
        const bool statted = ::fstatat(fd, found->d_name, &st, 0) == 0;
        // A link counts when it leads to a regular file; an unknown type is looked up.
        if (type != DT_REG && !(statted && S_ISREG(st.st_mode))) continue;
        listed.add(name, statted ? &st : nullptr);
    }
    ::closedir(dir);
    if (readError != 0) return std::nullopt;
    return listed.sortedEntries();
}

std::unique_ptr<OpenFolder> LinuxFileSystem::openFolder(const QByteArray& folder) {
    const int fd = ::open(folderArgument(folder), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    return std::make_unique<LinuxOpenFolder>(fd, m_method, m_sameEntry);
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
    return readFileAttributes(AT_FDCWD, path);
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
