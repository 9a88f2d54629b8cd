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
    auto listed = m_files.listFiles(path, m_pattern);
    if (!listed) return false;
    m_path = path;
    m_entries = std::move(*listed);
    return true;
}

void FileEnumerator::setPattern(const QString& pattern) {
    m_pattern = pattern;
    refresh();
}

void FileEnumerator::refresh() {
    // A folder that has gone away lists nothing rather than what it held before.
    auto listed = m_files.listFiles(m_path, m_pattern);
    m_entries = listed ? std::move(*listed) : std::vector<DirEntry>{};
}

}  // namespace quillet
