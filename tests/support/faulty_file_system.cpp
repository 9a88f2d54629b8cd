#include "support/faulty_file_system.h"

namespace quillet::test {

std::optional<std::vector<DirEntry>> FaultyFileSystem::listFiles(const QByteArray& folder,
                                                                 const QString& patterns) {
    ++listings;
    return m_real.listFiles(folder, patterns);
}

std::unique_ptr<OpenFolder> FaultyFileSystem::openFolder(const QByteArray& folder) {
    if (refuseOpen) {
        ++counts.injected;
        return nullptr;
    }
    std::unique_ptr<OpenFolder> real = m_real.openFolder(folder);
    if (!real) return nullptr;
    return std::make_unique<FaultyOpenFolder>(std::move(real), renameFault, attributeFault, counts,
                                              &listings);
}

std::optional<QByteArray> FaultyFileSystem::storedName(const QByteArray& path) {
    return m_real.storedName(path);
}

std::optional<std::uint32_t> FaultyFileSystem::attributes(const QByteArray& path) {
    return m_real.attributes(path);
}

std::optional<std::int64_t> FaultyFileSystem::modifiedSeconds(const QByteArray& path) {
    return m_real.modifiedSeconds(path);
}

QByteArray FaultyFileSystem::currentDirectory() {
    return m_real.currentDirectory();
}

bool FaultyFileSystem::setCurrentDirectory(const QByteArray& path) {
    return m_real.setCurrentDirectory(path);
}

bool FaultyFileSystem::isDirectory(const QByteArray& path) {
    return m_real.isDirectory(path);
}

bool FaultyFileSystem::removeFile(const QByteArray& path) {
    return m_real.removeFile(path);
}

bool FaultyFileSystem::writeFile(const QByteArray& path, const QByteArray& content, unsigned mode) {
    return m_real.writeFile(path, content, mode);
}

}  // namespace quillet::test
