#pragma once

#include "platform/file_system.h"
#include "platform/linux/no_replace_rename.h"

namespace quillet {

// A folder held by an O_DIRECTORY descriptor; every operation is relative to it, so the names
// keep meaning the same folder even if its path changes meanwhile.
class LinuxOpenFolder : public OpenFolder {
  public:
    // Takes ownership of `dirFd`. An empty `sameEntry` asks the disk, reading the folder's
    // spellings once for a whole pass.
    LinuxOpenFolder(int dirFd, RenameMethod method, SameEntryProbe sameEntry,
                    RenameCalls calls = SystemRenameCalls());
    ~LinuxOpenFolder() override;
    LinuxOpenFolder(const LinuxOpenFolder&) = delete;
    LinuxOpenFolder& operator=(const LinuxOpenFolder&) = delete;

    std::optional<std::vector<DirEntry>> listFiles(const QString& patterns) override;
    const UnlistedNames* unlistedNames() const override;
    bool ignoresCase() const override { return m_ignoresCase; }
    int renameNoReplace(const QByteArray& from, const QByteArray& to) override;
    std::optional<std::uint32_t> attributes(const QByteArray& name) override;
    int setAttributes(const QByteArray& name, std::uint32_t bits) override;

    int fd() const { return m_fd; }

  private:
    int m_fd;
    RenameMethod m_method;
    SameEntryProbe m_sameEntry;
    RenameCalls m_calls;
    std::optional<UnlistedNames> m_unlisted;  // from the latest listing that succeeded
    bool m_ignoresCase = false;               // as the latest listing found
    FolderSpellings m_spellings;
};

// The files of the folder `dirFd` as FileSystem::listFiles describes them, with the names that
// may be left over from a rename cut short in `leftovers`, and every other entry's name (but
// "." and "..") in `unlisted`.
std::optional<std::vector<DirEntry>> ListFolder(int dirFd, const QString& patterns,
                                                QList<QByteArray>* leftovers,
                                                UnlistedNames* unlisted = nullptr);

// Whether the folder `dirFd` finds its entries under any letter case: a listed name with a
// letter, looked up with the case of every letter turned, leads to an entry that the listing
// does not hold under that spelling.
bool IgnoresLetterCase(int dirFd, const std::vector<DirEntry>& entries,
                       const UnlistedNames& unlisted);

}  // namespace quillet
