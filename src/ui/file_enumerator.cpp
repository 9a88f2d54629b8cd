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
    std::unique_ptr<OpenFolder> folder = m_files.openFolder(path);
    auto listed = folder ? folder->listFiles(m_pattern) : std::nullopt;
    if (!listed) {
        m_outOfDate = true;
        m_unread = false;
        return false;
    }
    m_path = path;
    m_folder = std::move(folder);
    m_entries = std::move(*listed);
    m_outOfDate = false;
    m_unread = true;
    return true;
}

void FileEnumerator::setPattern(const QString& pattern) {
    if (pattern == m_pattern && m_unread) return;
    m_pattern = pattern;
    m_outOfDate = true;
    m_unread = false;
}

void FileEnumerator::refresh() {
    // A listing that a change of folder has just made and nobody has read yet is as new as
    // one read now: the rebuild that follows the change reads a large folder once, not twice.
    if (!m_unread) m_outOfDate = true;
}

std::vector<DirEntry>& FileEnumerator::entries() {
    m_unread = false;
    if (m_outOfDate) {
        m_outOfDate = false;
        // The old listing goes first, so a large folder is never held twice. A folder that has
        // gone away lists nothing rather than what it held before.
        std::vector<DirEntry>().swap(m_entries);
        // The folder is opened afresh, so that a listing follows the path as it is now; the
        // one listed is the one held for renaming.
        m_folder = m_files.openFolder(m_path);
        auto listed = m_folder ? m_folder->listFiles(m_pattern) : std::nullopt;
        if (!listed) m_folder.reset();
        m_entries = listed ? std::move(*listed) : std::vector<DirEntry>{};
    }
    return m_entries;
}

}  // namespace quillet
