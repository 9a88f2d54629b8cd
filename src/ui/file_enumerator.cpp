#include "ui/file_enumerator.h"

#include <utility>

namespace quillet {

FileEnumerator::FileEnumerator(QString name, FileSystem& files, QByteArray initialFolder,
                               QString pattern)
    : Control(std::move(name)),
      m_files(files),
      m_path(std::move(initialFolder)),
      m_pattern(std::move(pattern)) {
    setVisible(false);
}

bool FileEnumerator::setPath(const QByteArray& path) {
    // The old listing goes first, so that two large folders are never held at once; a refused
    // folder leaves the old one to be read again when asked for.
    std::vector<DirEntry>().swap(m_entries);
    auto listed = m_files.listFiles(path, m_pattern);
    if (!listed) {
        m_outOfDate = true;
        return false;
    }
    m_path = path;
    m_entries = std::move(*listed);
    m_outOfDate = false;
    return true;
}

void FileEnumerator::setPattern(const QString& pattern) {
    m_pattern = pattern;
    refresh();
}

void FileEnumerator::refresh() {
    m_outOfDate = true;
}

std::vector<DirEntry>& FileEnumerator::entries() {
    if (m_outOfDate) {
        m_outOfDate = false;
        // The old listing goes first, so a large folder is never held twice. A folder that has
        // gone away lists nothing rather than what it held before.
        std::vector<DirEntry>().swap(m_entries);
        auto listed = m_files.listFiles(m_path, m_pattern);
        m_entries = listed ? std::move(*listed) : std::vector<DirEntry>{};
    }
    return m_entries;
}

}  // namespace quillet
