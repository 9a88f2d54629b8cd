#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
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

// A folder held open for a run of operations on the names inside it. Every name is one plain
// entry of this folder, given as raw bytes.
class OpenFolder {
  public:
    virtual ~OpenFolder() = default;
    // The folder's files as FileSystem::listFiles finds them. What a rename cut short by a
    // crash left behind is put right first: a file parked under a case detour name gets its
    // old name back (where that is taken meanwhile it stays, listed under the detour name).
    virtual std::optional<std::vector<DirEntry>> listFiles(const QString& patterns) = 0;
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
    // The names of every entry of a folder (files, folders, links, hidden ones alike), for
    // telling many names apart at once. Nothing when the folder cannot be read or a file
    // system cannot tell; the caller then asks for the names it needs one by one.
    virtual std::optional<std::vector<QByteArray>> entryNames(const QByteArray& folder) {
        (void)folder;
        return std::nullopt;
    }

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
