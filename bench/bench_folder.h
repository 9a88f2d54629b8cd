#pragma once

#include <QByteArray>
#include <QTemporaryDir>
#include <vector>

namespace quillet::bench {

// How the numbers of a benchmark folder's names relate to their name order.
enum class Numbering {
    // IMG_000001.jpg, IMG_000002.jpg, ...: one camera, so number order is name order and the
    // list's sort finds its rows in order already.
    InNameOrder,
    // Several cameras' prefixes, the numbers dealt out at random and each file given a time of
    // its own within a year: the list's number sort has all its work to do, and no two rows
    // share a time text.
    Shuffled,
};

// A temporary folder of empty files named the way a camera names them, in a shuffled order
// of creation so the folder's own order is not already sorted.
class BenchFolder {
  public:
    explicit BenchFolder(int files, Numbering numbering = Numbering::InNameOrder);

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
