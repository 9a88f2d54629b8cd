#pragma once

#include "platform/file_system.h"
#include "platform/linux/no_replace_rename.h"

namespace quillet {

// The file system through the kernel's own calls on raw names, so that a name which is not
// valid UTF-8 is listed, renamed and examined like any other.
class LinuxFileSystem : public FileSystem {
  public:
    // `method`, `sameEntry` and `calls` are handed to every folder this opens; an empty
    // `sameEntry` leaves each folder to ask the disk its own way.
    explicit LinuxFileSystem(RenameMethod method = RenameMethod::Cascade,
                             SameEntryProbe sameEntry = {},
                             RenameCalls calls = SystemRenameCalls());

    std::optional<std::vector<DirEntry>> listFiles(const QByteArray& folder,
                                                   const QString& patterns) override;
    std::unique_ptr<OpenFolder> openFolder(const QByteArray& folder) override;

    std::optional<QByteArray> storedName(const QByteArray& path) override;
    std::optional<std::uint32_t> attributes(const QByteArray& path) override;
    std::optional<std::int64_t> modifiedSeconds(const QByteArray& path) override;

    QByteArray currentDirectory() override;
    bool setCurrentDirectory(const QByteArray& path) override;
    bool isDirectory(const QByteArray& path) override;

    bool removeFile(const QByteArray& path) override;
    bool writeFile(const QByteArray& path, const QByteArray& content, unsigned mode) override;

  private:
    RenameMethod m_method;
    SameEntryProbe m_sameEntry;
    RenameCalls m_calls;
};

}  // namespace quillet
