#pragma once

#include <QByteArray>
#include <QSet>
#include <optional>

namespace quillet {

// The exact spellings under which a folder lists its entries. A file system that ignores
// letter case finds an entry under any spelling of its name but lists it under one, and
// some (FUSE ones among them) give each spelling looked up an inode number of its own, so
// only the listing tells one entry found twice from two entries.
class FolderSpellings {
  public:
    // Read from the folder when first asked.
    FolderSpellings() = default;
    // Known already, as a listing found them.
    explicit FolderSpellings(QSet<QByteArray> names) : m_names(std::move(names)) {}

    // Whether the folder `dirFd` lists an entry of exactly this spelling; nothing when the
    // folder cannot be read.
    std::optional<bool> holds(int dirFd, const QByteArray& name);
    // Keeps up with a rename made in the folder, so that a pass over many names reads the
    // folder once.
    void renamed(const QByteArray& from, const QByteArray& to);
    // Read again when next asked: the folder may have changed in a way not told.
    void forget() { m_names.reset(); }

  private:
    std::optional<QSet<QByteArray>> m_names;
};

}  // namespace quillet
