#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// The longest name, in bytes, that a folder entry can have.
constexpr qsizetype kMaxNameBytes = 255;

// Attribute bits as the rest of the program counts them.
namespace attr {
constexpr std::uint32_t ReadOnly = 0x01;
constexpr std::uint32_t Hidden = 0x02;
constexpr std::uint32_t System = 0x04;
constexpr std::uint32_t Directory = 0x10;
constexpr std::uint32_t Archive = 0x20;
constexpr std::uint32_t Normal = 0x80;
}  // namespace attr

// A file found in a folder: the raw bytes of its name, the name as text (invalid UTF-8 shown
// as replacement characters), and its modification time.
struct DirEntry {
    QByteArray rawName;
    QString name;
    std::int64_t modifiedSeconds = 0;  // seconds since the epoch
    bool modifiedKnown = false;
};

// The names of the entries a listing read but did not list (folders, hidden files, files
// outside the pattern, links that do not lead to a file), gathered in one buffer while the
// folder is read, each followed by a NUL byte, which no name can hold.
class UnlistedNames {
  public:
    void add(std::string_view name) {
        m_bytes.append(name);
        m_bytes.push_back('\0');
        ++m_count;
    }
    std::size_t count() const { return m_count; }
    // `each(name)` for every name, as a view into the buffer.
    template <class Each>
    void forEach(Each&& each) const {
        for (std::size_t at = 0; at < m_bytes.size();) {
            const std::size_t end = m_bytes.find('\0', at);
            each(std::string_view(m_bytes).substr(at, end - at));
            at = end + 1;
        }
    }

  private:
    std::string m_bytes;
    std::size_t m_count = 0;
};

// A folder held open for a run of operations on the names inside it. Every name is one plain
// entry of this folder, given as raw bytes.
class OpenFolder {
  public:
    virtual ~OpenFolder() = default;
    // The folder's files as FileSystem::listFiles finds them. What a rename cut short by a
    // crash left behind is put right first: a file parked under a case detour name gets its
    // old name back (where that is taken meanwhile it stays, listed under the detour name).
    virtual std::optional<std::vector<DirEntry>> listFiles(const QString& patterns) = 0;
    // Every other name the latest listFiles found in the folder, so that no one needs to read
    // the folder again to know which names are taken. Null when this folder cannot tell.
    virtual const UnlistedNames* unlistedNames() const { return nullptr; }
    // Whether the folder finds an entry under any letter case of its name, as the latest
    // listFiles found; false when it cannot tell.
    virtual bool ignoresCase() const { return false; }
    // Renames without ever replacing an existing file. Returns 0 or an errno value.
    virtual int renameNoReplace(const QByteArray& from, const QByteArray& to) = 0;
    // The attribute bits, or nothing when they cannot be read.
    virtual std::optional<std::uint32_t> attributes(const QByteArray& name) = 0;
    // Returns 0 or an errno value.
    virtual int setAttributes(const QByteArray& name, std::uint32_t bits) = 0;
};

// The file system as the program uses it. Paths are raw bytes.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // The regular files (and links to them) of a folder whose names match one of the
    // ";"-separated wildcard patterns, case-insensitively, in case-insensitive name order.
    // Names beginning with "." are not listed. Nothing when the folder cannot be read.
    virtual std::optional<std::vector<DirEntry>> listFiles(const QByteArray& folder,
                                                           const QString& patterns) = 0;
    // The folder held open, so that what is done there later reaches this very folder even
    // when its path comes to name another one.
    virtual std::unique_ptr<OpenFolder> openFolder(const QByteArray& folder) = 0;
    // The name under which the entry that `path` names is stored, or nothing when there is
    // no such entry.
    virtual std::optional<QByteArray> storedName(const QByteArray& path) = 0;
    virtual std::optional<std::uint32_t> attributes(const QByteArray& path) = 0;
    virtual std::optional<std::int64_t> modifiedSeconds(const QByteArray& path) = 0;

    virtual QByteArray currentDirectory() = 0;
    virtual bool setCurrentDirectory(const QByteArray& path) = 0;
    virtual bool isDirectory(const QByteArray& path) = 0;

    virtual bool removeFile(const QByteArray& path) = 0;
    // Writes a whole small file, replacing it; `mode` gives its permission bits.
    virtual bool writeFile(const QByteArray& path, const QByteArray& content, unsigned mode) = 0;
};

}  // namespace quillet
