#pragma once

#include "support/faulty_open_folder.h"

namespace quillet::test {

// A real file system whose folders are handed out wrapped in FaultyOpenFolder, so that a test
// can make single renames or attribute writes fail, or let another "process" act just before
// one of them, while everything else happens on disk.
class FaultyFileSystem : public FileSystem {
  public:
    explicit FaultyFileSystem(FileSystem& real) : m_real(real) {}

    RenameFault renameFault;
    AttributeFault attributeFault;
    // When set, opening a folder fails as if it could not be reached.
    bool refuseOpen = false;
    FaultCounts counts;
    // How often a folder was read.
    int listings = 0;

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
    FileSystem& m_real;
};

}  // namespace quillet::test
