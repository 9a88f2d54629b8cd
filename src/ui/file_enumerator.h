#pragma once

#include <QByteArray>
#include <memory>
#include <vector>

#include "platform/file_system.h"
#include "ui/control.h"

namespace quillet {

// The invisible file-list box that enumerates the folder: a folder, a pattern of
// ";"-separated wildcards, and the files found there in name order. A new pattern or a refresh
// only marks the listing out of date; the folder is read when its files are next asked for,
// so a change that is followed by a rebuild reads a large folder once, not twice. A new
// folder is read at once, to know whether it can be listed, and that listing serves the
// refresh, or the same pattern set again, that follows.
class FileEnumerator : public Control {
  public:
    FileEnumerator(QString name, FileSystem& files, QByteArray initialFolder, QString pattern);

    const QByteArray& path() const { return m_path; }
    // A folder that cannot be listed is refused: the enumerator keeps its folder and false is
    // returned.
    bool setPath(const QByteArray& path);
    const QString& pattern() const { return m_pattern; }
    void setPattern(const QString& pattern);
    void refresh();

    int listCount() { return static_cast<int>(entries().size()); }
    // Entries are numbered from 0, in the order they were found.
    const DirEntry& entry(int index) { return entries().at(static_cast<size_t>(index)); }
    std::vector<DirEntry>& entries();
    // The folder the entries were read from, held open since: what is done to the listed files
    // is done there, even when the path has come to name another folder. Null when nothing
    // could be listed.
    OpenFolder* listedFolder() { return m_folder.get(); }
    const OpenFolder* listedFolder() const { return m_folder.get(); }

  private:
    FileSystem& m_files;
    QByteArray m_path;
    QString m_pattern;
    std::vector<DirEntry> m_entries;
    std::unique_ptr<OpenFolder> m_folder;
    bool m_outOfDate = true;
    // The listing was made by setPath and has not been read since.
    bool m_unread = false;
};

}  // namespace quillet
