#pragma once

#include <QByteArrayView>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace quillet {

// A set of names, each numbered in the order it was added. It is made for looking up every
// row's name on every keystroke: open addressing over small buckets that hold a hash and a
// number, behind a bit filter small enough to stay in the processor's cache, so that nearly
// all misses (the usual answer) never touch the buckets, and no text is compared but on a hit.
// The names are copied into one buffer that is kept through resets, so that filling the table
// again allocates nothing.
class NameTable {
  public:
    // Without the filter, for a table that is mostly added to and seldom searched.
    enum class Lookups { Many, Few };
    explicit NameTable(Lookups lookups = Lookups::Many) : m_filtered(lookups == Lookups::Many) {}

    // Forgets every name and makes room for `expected` names.
    void reset(std::size_t expected);
    // The number of `name`, or -1 when it is not in the table.
    int find(QByteArrayView name) const;
    // Adds `name` unless it is there; gives its number and whether it was added now.
    std::pair<int, bool> add(QByteArrayView name);
    int size() const { return static_cast<int>(m_names.size()); }

  private:
    struct Bucket {
        std::uint32_t tag;
        std::int32_t number;  // -1: empty
    };
    struct Stored {
        std::size_t at;
        std::size_t size;
    };
    static std::uint64_t hashOf(QByteArrayView name);
    std::size_t firstBucket(std::uint64_t hash) const {
        return static_cast<std::size_t>(hash) & m_mask;
    }
    QByteArrayView nameOf(std::int32_t number) const {
        const Stored& stored = m_names[static_cast<std::size_t>(number)];
        return {m_bytes.data() + stored.at, static_cast<qsizetype>(stored.size)};
    }
    void rehash(std::size_t buckets);
    // Two bits of one word for each name: a name that is not held then passes the filter
    // about once in a hundred, and a look-up still reads one word.
    std::size_t filterWord(std::uint64_t hash) const {
        return static_cast<std::size_t>(hash >> 20) & m_filterMask;
    }
    static std::uint64_t filterBits(std::uint64_t hash) {
        return (std::uint64_t{1} << ((hash >> 40) & 63)) |
               (std::uint64_t{1} << ((hash >> 46) & 63));
    }
    bool mayHold(std::uint64_t hash) const {
        if (!m_filtered) return true;
        const std::uint64_t bits = filterBits(hash);
        return (m_filter[filterWord(hash)] & bits) == bits;
    }
    void letThrough(std::uint64_t hash) {
        if (m_filtered) m_filter[filterWord(hash)] |= filterBits(hash);
    }
    void place(std::uint64_t hash, std::int32_t number);

    bool m_filtered;
    std::vector<std::uint64_t> m_filter;  // the bits of every name held
    std::size_t m_filterMask = 0;         // of a word's place
    std::vector<Bucket> m_buckets;
    std::size_t m_mask = 0;
    std::vector<Stored> m_names;
    std::string m_bytes;
};

}  // namespace quillet
