#include "util/string_blocks.h"

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
}

template <class String, class Unit>
void StringBlocks<String, Unit>::release() {
    if (m_block && !m_block->deref()) Block::deallocate(m_block);
    m_block = nullptr;
    m_next = nullptr;
    m_left = 0;
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
    m_block->ref();
    String text(typename String::DataPointer(m_block, m_room, m_size));
    m_room = nullptr;
    return text;
}

template class StringBlocks<QString, char16_t>;
template class StringBlocks<QByteArray, char>;

}  // namespace quillet
