#pragma once

#include <QByteArray>
#include <QHash>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "preview/name_table.h"
#include "ui/form1.h"

namespace quillet {

// Marks, in each naming pass, every checked row whose rename would not take effect, and puts
// how many there are in the file-count panel's tool tip. The pass is played forward once over
// the whole list against the folder's names, learnt once per listing; a name is free only if
// the file holding it is renamed away earlier in the same pass. A row's mark needs only the
// rows above it, so a naming pass marks each row as soon as it has its new name, while the
// row is still at hand.
class RenameMarks {
  public:
    explicit RenameMarks(FileSystem& files);

    // `namesMayRepeat`: whether two checked rows may be given the same new name. When the
    // naming pass can promise they are not, the names the folder does not hold need no table:
    // none of them can be taken.
    void begin(Form1& form, bool namesMayRepeat);
    // Rows are marked in list order, from the first. `to`: the bytes of the row's new name,
    // as NewNameBytes gives them, which the naming pass has at hand.
    void markRow(int row, QByteArrayView to);
    void finish();
    // The three at once, over new names already given.
    void update(Form1& form, bool namesMayRepeat = true);
    // Attribute-only mode renames nothing: no row is marked.
    void clear(Form1& form);

  private:
    void learnFolder(const Form1& form);
    int attempt(const ListRow& row, int index, QByteArrayView to);
    bool onDisk(QByteArrayView name);
    // A name as the folder compares it: folded where it ignores case.
    QByteArrayView key(QByteArrayView name);

    FileSystem& m_files;

    // What the folder held when it was listed, as slots: the listed files first, in the order
    // they were added (a row's id is its slot), then the folder's other names. Without the
    // folder's names only the listed ones have a slot, and other names are looked up one by
    // one.
    std::uint64_t m_listing = ~std::uint64_t{0};
    QByteArray m_folder;
    bool m_folderNamesKnown = false;
    NameTable m_slots;
    int m_listedSlots = 0;
    QHash<QByteArray, bool> m_onDisk;
    bool m_foldCase = false;
    std::string m_folded;

    // The pass being played: per slot, who holds its name (kOriginal, kVacated or the row
    // renamed into it), and the names the folder did not hold with the row renamed into each.
    static constexpr int kOriginal = -1;
    static constexpr int kVacated = 0;
    std::vector<int> m_holder;
    NameTable m_fresh{NameTable::Lookups::Few};
    std::vector<int> m_freshHolder;
    Form1* m_form = nullptr;  // of the pass being played
    std::string m_bytes;
    int m_failing = 0;
    bool m_namesMayRepeat = true;
    RenameMark m_refusedBy;  // why the latest attempt failed
};

}  // namespace quillet
