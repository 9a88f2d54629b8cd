#include "util/string_blocks.h"

#include <new>
#include <utility>

namespace quillet {

namespace {

// Large enough that a block holds hundreds of file names, small enough to stay below the size
// from which the C library maps memory of its own for each allocation.
constexpr qsizetype kBlockBytes = 64 * 1024;

}  // namespace

template <class String, class Unit>
StringBlocks<String, Unit>::~StringBlocks() {
    release();
    giveUpHeld();
}

// Drops `count` references to `data` at once, and the data with the last of them.
template <class Block>
void DropReferences(Block* data, int count) {
    if (data->ref_.fetchAndSubOrdered(count) == count) Block::deallocate(data);
}

template <class String, class Unit>
void StringBlocks<String, Unit>::release() {
    // Its own reference, and those no string took.
    if (m_block) DropReferences(m_block, m_prepaid + 1);
    m_block = nullptr;
    m_prepaid = 0;
    m_next = nullptr;
    m_left = 0;
}

template <class String, class Unit>
void StringBlocks<String, Unit>::giveUp(typename String::DataPointer&& data) {
    Block* held = data.d_ptr();
    if (held == nullptr) return;  // no data, or data the string does not own
    if (held != m_heldData) {
        giveUpHeld();
        m_heldData = held;
    }
    ++m_held;
    // The reference now counts among those held: the string's own must not be dropped when
    // the string goes, so it is moved into storage that is never destroyed.
    alignas(typename String::DataPointer) unsigned char kept[sizeof(typename String::DataPointer)];
    new (kept) typename String::DataPointer(std::move(data));
}

template <class String, class Unit>
void StringBlocks<String, Unit>::giveUpHeld() {
    if (m_held > 0) DropReferences(m_heldData, m_held);
    m_heldData = nullptr;
    m_held = 0;
}

template <class String, class Unit>
void StringBlocks<String, Unit>::replace(String& string, const Unit* text, qsizetype size) {
    String made = copy(text, size);
    giveUp(std::move(string.data_ptr()));
    // `string` holds no data now, so nothing is dropped when the new text is moved in.
    string = std::move(made);
}

template <class String, class Unit>
Unit* StringBlocks<String, Unit>::room(qsizetype size) {
    constexpr qsizetype kUnits =
        (kBlockBytes - static_cast<qsizetype>(sizeof(QArrayData))) / sizeof(Unit);
    m_size = size;
    // A long text would leave most of a block unused behind it.
    if (size + 1 > kUnits / 8) {
        m_room = nullptr;
        m_own = String(size, Qt::Uninitialized);
        return reinterpret_cast<Unit*>(m_own.data());
    }
    if (m_left < size + 1) {
        release();
        const auto [block, data] = Block::allocate(kUnits, QArrayData::KeepSize);
        Q_CHECK_PTR(block);
        // No string can hold less than one unit. Nothing else sees the block yet.
        m_prepaid = static_cast<int>(kUnits);
        block->ref_.storeRelaxed(1 + m_prepaid);
        m_block = block;
        m_next = data;
        m_left = kUnits;
    }
    m_room = m_next;
    m_next += size + 1;
    m_left -= size + 1;
    return m_room;
}

template <class String, class Unit>
String StringBlocks<String, Unit>::take() {
    if (m_room == nullptr) return std::exchange(m_own, String());
    m_room[m_size] = Unit(0);
    --m_prepaid;
    String text(typename String::DataPointer(m_block, m_room, m_size));
    m_room = nullptr;
    return text;
}

template class StringBlocks<QString, char16_t>;
template class StringBlocks<QByteArray, char>;

}  // namespace quillet
