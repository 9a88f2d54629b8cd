#include "platform/linux/linux_open_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <numeric>
#include <string>
#include <string_view>
#include <utility>

#include "platform/linux/dir_stream.h"
#include "platform/linux/dos_attributes.h"
#include "platform/linux/file_patterns.h"
#include "platform/linux/rename_leftovers.h"
#include "util/caseless_compare.h"
#include "util/string_blocks.h"

namespace quillet {

namespace {

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Appends a name as text. Most names are plain ASCII, which is widened directly; any other
// byte sends the name through the full UTF-8 decoder (invalid bytes become replacement
// characters).
void AppendDecoded(std::string_view raw, std::u16string& texts) {
    // Widened in one go over the bytes, checking them on the way. (Appending the bytes as a
    // range would first build a string of each name on its own.)
    const std::size_t start = texts.size();
    texts.resize(start + raw.size());
    char16_t* out = texts.data() + start;
    unsigned char any = 0;
    for (const char byte : raw) {
        any |= static_cast<unsigned char>(byte);
        *out++ = static_cast<unsigned char>(byte);
    }
    if (any < 0x80) return;
    texts.resize(start);
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
            AppendDecoded(rawOf(found), texts);
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
        // Each name, as bytes and as text, is a string of its own that shares its memory with
        // the names beside it: the rows keep them, and 100,000 rows let them go at once.
        ByteBlocks rawNames;
        TextBlocks textNames;
        std::vector<DirEntry> entries;
        entries.reserve(m_found.size());
        for (std::size_t k = 0; k < m_found.size(); ++k) {
            const std::uint32_t i = order.empty() ? static_cast<std::uint32_t>(k) : order[k];
            const std::string_view raw = rawOf(m_found[i]);
            DirEntry entry;
            entry.rawName = rawNames.copy(raw.data(), static_cast<qsizetype>(raw.size()));
            entry.name = textNames.copy(names[i].utf16(), names[i].size());
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

std::optional<std::vector<DirEntry>> ListFolder(int dirFd, const QString& patterns,
                                                QList<QByteArray>* leftovers,
                                                UnlistedNames* unlisted) {
    DIR* dir = OpenDirStream(dirFd);
    if (dir == nullptr) return std::nullopt;
    const int fd = ::dirfd(dir);
    const FilePatterns matcher(patterns);
    FoundFiles foundFiles;
    int readError = 0;
    for (;;) {
        errno = 0;
        const dirent* found = ::readdir(dir);
        if (found == nullptr) {
            readError = errno;
            break;
        }
        const std::size_t length = qstrlen(found->d_name);
        const unsigned char type = found->d_type;
        const auto notListed = [&] {
            if (unlisted) unlisted->add(std::string_view(found->d_name, length));
        };
        if (type != DT_REG && type != DT_LNK && type != DT_UNKNOWN) {
            if (!IsDotOrDotDot(found->d_name)) notListed();
            continue;
        }
        const QByteArray name =
            QByteArray::fromRawData(found->d_name, static_cast<qsizetype>(length));
        const bool listed = name[0] != '.' && matcher.matches(name);
        struct stat st;
        bool statted = false;
        if (listed) {
            statted = ::fstatat(fd, found->d_name, &st, 0) == 0;
        } else if (leftovers && type != DT_LNK && !IsDotOrDotDot(found->d_name)) {
            // A leftover may stand under any name a rename gave, listed or not.
            statted = ::fstatat(fd, found->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0;
        }
        // With the entry's own status the whole test is made, the name included; without it,
        // the name alone tells. A listed entry's status is what a link leads to, so where the
        // folder does not say what an entry is (as network and FUSE file systems often do),
        // the entry itself is looked at.
        const struct stat* own = statted && (type == DT_REG || !listed) ? &st : nullptr;
        struct stat entryItself;
        if (leftovers && !own && listed && type == DT_UNKNOWN &&
            ::fstatat(fd, found->d_name, &entryItself, AT_SYMLINK_NOFOLLOW) == 0) {
            own = &entryItself;
        }
        if (leftovers && (own ? MayBeRenameLeftover(name, own->st_mode, own->st_size, own->st_nlink)
                              : HasLeftoverName(name))) {
            leftovers->append(QByteArray(found->d_name));
        }
        // A link counts when it leads to a regular file; an unknown type is looked up.
        if (!listed || (type != DT_REG && !(statted && S_ISREG(st.st_mode)))) {
            if (!IsDotOrDotDot(found->d_name)) notListed();
            continue;
        }
        foundFiles.add(name, statted ? &st : nullptr);
    }
    ::closedir(dir);
    if (readError != 0) return std::nullopt;
    return foundFiles.sortedEntries();
}

bool IgnoresLetterCase(int dirFd, const std::vector<DirEntry>& entries,
                       const UnlistedNames& unlisted) {
    // One name with a letter is enough: the folder is on one file system.
    std::optional<QByteArray> sample;
    const auto consider = [&sample](std::string_view name) {
        if (sample) return;
        const auto letter = std::find_if(name.begin(), name.end(), [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        });
        if (letter != name.end())
            sample = QByteArray(name.data(), static_cast<qsizetype>(name.size()));
    };
    for (const DirEntry& entry : entries) {
        consider(std::string_view(entry.rawName.constData(), entry.rawName.size()));
        if (sample) break;
    }
    unlisted.forEach(consider);
    if (!sample) return false;
    QByteArray turned = *sample;
    for (char& c : turned) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        } else if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    struct stat st;
    if (::fstatat(dirFd, turned.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
    // Found: either the same entry under another spelling, or an entry of its own, which the
    // listing then holds.
    const std::string_view wanted(turned.constData(), static_cast<std::size_t>(turned.size()));
    bool listed = std::any_of(entries.begin(), entries.end(), [&wanted](const DirEntry& entry) {
        return std::string_view(entry.rawName.constData(), entry.rawName.size()) == wanted;
    });
    unlisted.forEach(
        [&listed, &wanted](std::string_view name) { listed = listed || name == wanted; });
    return !listed;
}

LinuxOpenFolder::LinuxOpenFolder(int dirFd, RenameMethod method, SameEntryProbe sameEntry,
                                 RenameCalls calls)
    : m_fd(dirFd),
      m_method(method),
      m_sameEntry(std::move(sameEntry)),
      m_calls(RenameCallsFor(dirFd, std::move(calls))) {
    if (!m_sameEntry) {
        m_sameEntry = [this](int fd, const QByteArray& from, const QByteArray& to) {
            return SameEntryBySpelling(fd, from, to, m_spellings);
        };
    }
}

LinuxOpenFolder::~LinuxOpenFolder() {
    if (m_fd >= 0) ::close(m_fd);
}

std::optional<std::vector<DirEntry>> LinuxOpenFolder::listFiles(const QString& patterns) {
    QList<QByteArray> leftovers;
    m_unlisted.reset();
    m_ignoresCase = false;
    m_spellings.forget();
    UnlistedNames unlisted;
    auto entries = ListFolder(m_fd, patterns, &leftovers, &unlisted);
    if (entries && !leftovers.isEmpty()) {
        TidyRenameLeftovers(m_fd, leftovers, m_method, m_sameEntry, m_calls);
        unlisted = UnlistedNames();
        entries = ListFolder(m_fd, patterns, nullptr, &unlisted);
    }
    if (entries) {
        m_ignoresCase = IgnoresLetterCase(m_fd, *entries, unlisted);
        m_unlisted = std::move(unlisted);
    }
    return entries;
}

const UnlistedNames* LinuxOpenFolder::unlistedNames() const {
    return m_unlisted ? &*m_unlisted : nullptr;
}

int LinuxOpenFolder::renameNoReplace(const QByteArray& from, const QByteArray& to) {
    const int error = RenameNoReplaceAt(m_fd, from, to, m_method, m_sameEntry, m_calls);
    // A rename that failed may have done part of its work, or none: the folder is read again.
    if (error == 0) {
        m_spellings.renamed(from, to);
    } else {
        m_spellings.forget();
    }
    return error;
}

std::optional<std::uint32_t> LinuxOpenFolder::attributes(const QByteArray& name) {
    if (CheckEntryName(name) != 0) return std::nullopt;
    // A link has no attributes of its own: the pass leaves it and its target alone.
    return ReadFileAttributes(m_fd, name, LinkHandling::Refuse);
}

int LinuxOpenFolder::setAttributes(const QByteArray& name, std::uint32_t bits) {
    if (const int error = CheckEntryName(name); error != 0) return error;
    return WriteFileAttributes(m_fd, name, bits);
}

}  // namespace quillet
