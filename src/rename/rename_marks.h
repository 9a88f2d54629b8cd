#pragma once

#include <QByteArray>
#include <QHash>
#include <cstdint>
#include <vector>

#include "platform/file_system.h"
#include "rename/name_table.h"
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
    int attempt(const ListRow& row, int index, const QByteArray& to);
    bool onDisk(const QByteArray& name);

    FileSystem& m_files;

    // What the folder held when it was listed, as slots: the listed files first, in the order
    // they were added (a row's id is its slot), then the folder's other names. Without the
    // folder's names only the listed ones have a slot, and other names are looked up one by
    // one.
    std::uint64_t m_listing = ~std::uint64_t{0};
    QByteArray m_folder;
    bool m_folderNamesKnown = false;
    NameTable m_slots;
    UnlistedNames m_unlisted;  // the bytes of the slots after the listed ones
    int m_listedSlots = 0;
    QHash<QByteArray, bool> m_onDisk;

    // The pass being played: per slot, who holds its name (kOriginal, kVacated or the row
    // renamed into it), and the names the folder did not hold with the row renamed into each.
    static constexpr int kOriginal = -1;
    static constexpr int kVacated = 0;
    std::vector<int> m_holder;
    NameTable m_fresh{NameTable::Lookups::Few};
    std::vector<int> m_freshHolder;
    RenameMark m_refusedBy;  // why the latest attempt failed
};

}  // namespace quillet
