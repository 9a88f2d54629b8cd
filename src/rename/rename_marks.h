#pragma once

#include <QByteArray>
#include <QHash>
#include <cstdint>
#include <vector>

#include "platform/file_system.h"
#include "ui/form1.h"

namespace quillet {

// Marks, after each naming pass, every checked row whose rename would not take effect, and
// puts how many there are in the file-count panel's tool tip. The pass is played forward once
// over the whole list against the folder's names, learnt once per listing; a name is free
// only if the file holding it is renamed away earlier in the same pass.
class RenameMarks {
  public:
    explicit RenameMarks(FileSystem& files);

    void update(Form1& form);
    // Attribute-only mode renames nothing: no row is marked.
    void clear(Form1& form);

  private:
    void learnFolder(const Form1& form);
    int attempt(int row, const QByteArray& from, const QByteArray& to);
    bool onDisk(const QByteArray& name);

    FileSystem& m_files;

    // What the folder held when it was listed, as slots: every name of the folder, and per
    // slot whether the list shows it. Without the folder's names only the listed ones have a
    // slot, and other names are looked up one by one.
    std::uint64_t m_listing = ~std::uint64_t{0};
    QByteArray m_folder;
    bool m_folderNamesKnown = false;
    QHash<QByteArray, int> m_slots;
    std::vector<bool> m_listed;
    QHash<QByteArray, bool> m_onDisk;

    // The pass being played: per slot, who holds its name (kOriginal, kVacated or the row
    // renamed into it), and the rows renamed into names the folder did not hold.
    static constexpr int kOriginal = -1;
    static constexpr int kVacated = 0;
    std::vector<int> m_holder;
    QHash<QByteArray, int> m_fresh;
    RenameMark m_refusedBy;  // why the latest attempt failed
};

}  // namespace quillet
