#pragma once

#include <QByteArray>
#include <QTemporaryDir>
#include <vector>

namespace quillet::bench {

// A temporary folder of empty files named the way a camera names them, in a shuffled order
// of creation so the folder's own order is not already sorted.
class BenchFolder {
  public:
    explicit BenchFolder(int files);

    const QByteArray& path() const { return m_path; }
    const std::vector<QByteArray>& names() const { return m_names; }

  private:
    QTemporaryDir m_dir;
    QByteArray m_path;
    std::vector<QByteArray> m_names;
};

// The least the machine can do to list a folder: readdir, one fstatat a file, and a sort.
std::size_t ListFolderBaseline(const QByteArray& folder);

}  // namespace quillet::bench
