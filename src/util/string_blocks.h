#pragma once

#include <QByteArray>
#include <QString>
#include <algorithm>

namespace quillet {

// Short strings made by the hundred thousand, each a QString or QByteArray like any other but
// with its text in a block shared with the strings made before and after it: a listing of
// 100,000 files then makes and frees a few hundred blocks rather than half a million small
// texts, and its texts lie in memory in the order they were made. Each string holds a
// reference to its block as a copy holds one to its original's data, so a block goes with its
// last string, and a string that is changed gets data of its own first. Every text is followed
// by a terminating zero, as Qt keeps it.
//
// The naming pass gives every row a new string on every keystroke, and a reference count that
// goes up and down for each is a locked instruction each time, which waits for every store
// before it. So a new block is given, at once, a reference for every string it could ever
// hold, which the strings then take without touching the count; the unused ones are given back
// with the block. And `replace` gives up the references of the strings it replaces in one step
// for each run of them that share their data.
template <class String, class Unit>
class StringBlocks {
  public:
    StringBlocks() = default;
    ~StringBlocks();
    StringBlocks(const StringBlocks&) = delete;
    StringBlocks& operator=(const StringBlocks&) = delete;

    // Room for a string of `size` units, to be written before the string is taken.
    Unit* room(qsizetype size);
    // The string whose room was given last.
    String take();

    String copy(const Unit* text, qsizetype size) {
        std::copy_n(text, size, room(size));
        return take();
    }
    // Makes `string` a copy of the text, in place of what it held.
    void replace(String& string, const Unit* text, qsizetype size);

  private:
    using Block = QTypedArrayData<Unit>;
    void release();
    // Gives up the reference of a replaced string, with the others to the same data.
    void giveUp(typename String::DataPointer&& data);
    void giveUpHeld();

    Block* m_block = nullptr;
    int m_prepaid = 0;       // references of the block not yet taken by a string
    Unit* m_next = nullptr;  // the first free unit of the block
    qsizetype m_left = 0;    // units left in the block
    Unit* m_room = nullptr;  // the text being written, in the block
    qsizetype m_size = 0;
    String m_own;  // a text too long for a block: allocated on its own
    // References of replaced strings, all to the same data, not yet given up.
    Block* m_heldData = nullptr;
    int m_held = 0;
};

using TextBlocks = StringBlocks<QString, char16_t>;
using ByteBlocks = StringBlocks<QByteArray, char>;

}  // namespace quillet
