#include "preview/name_table.h"

#include <algorithm>
#include <cstring>

namespace quillet {

namespace {

std::uint32_t TagOf(std::uint64_t hash) {
    return static_cast<std::uint32_t>(hash >> 32);
}

std::uint64_t Mix(std::uint64_t value) {
    value ^= value >> 33;
    value *= 0xff51afd7ed558ccdULL;
    value ^= value >> 33;
    value *= 0xc4ceb9fe1a85ec53ULL;
    value ^= value >> 33;
    return value;
}

std::size_t BucketsFor(std::size_t names) {
    // At most half full, so that probes stay short.
    std::size_t buckets = 16;
    while (buckets < names * 2) buckets *= 2;
    return buckets;
}

}  // namespace

std::uint64_t NameTable::hashOf(QByteArrayView name) {
    const char* bytes = name.data();
    const auto size = static_cast<std::size_t>(name.size());
    std::uint64_t hash = 0x9e3779b97f4a7c15ULL ^ size;
    const auto load = [](const char* from) {
        std::uint64_t chunk;
        std::memcpy(&chunk, from, 8);
        return chunk;
    };
    if (size >= 8) {
        const char* last = bytes + size - 8;
        for (; bytes < last; bytes += 8) hash = Mix(hash ^ load(bytes));
        // The last eight bytes, overlapping the chunk before when the size is not a multiple
        // of eight.
        return Mix(hash ^ load(last));
    }
    std::uint64_t tail = 0;
    for (std::size_t i = 0; i < size; ++i)
        tail |= std::uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
    return Mix(hash ^ tail);
}

void NameTable::reset(std::size_t expected) {
    m_names.clear();
    m_names.reserve(expected);
    m_bytes.clear();
    rehash(BucketsFor(expected));
}

void NameTable::rehash(std::size_t buckets) {
    if (m_buckets.size() != buckets)
        m_buckets.assign(buckets, Bucket{0, -1});
    else
        std::fill(m_buckets.begin(), m_buckets.end(), Bucket{0, -1});
    m_mask = buckets - 1;
    // Eight bits a bucket, four or more a name.
    if (m_filtered) {
        const std::size_t words = buckets * 8 / 64;
        m_filter.assign(words, 0);
        m_filterMask = words - 1;
    }
    for (std::size_t number = 0; number < m_names.size(); ++number)
        place(hashOf(nameOf(static_cast<std::int32_t>(number))), static_cast<std::int32_t>(number));
}

void NameTable::place(std::uint64_t hash, std::int32_t number) {
    letThrough(hash);
    std::size_t i = firstBucket(hash);
    while (m_buckets[i].number >= 0) i = (i + 1) & m_mask;
    m_buckets[i] = {TagOf(hash), number};
}

int NameTable::find(QByteArrayView name) const {
    if (m_buckets.empty()) return -1;
    const std::uint64_t hash = hashOf(name);
    if (!mayHold(hash)) return -1;
    const std::uint32_t tag = TagOf(hash);
    for (std::size_t i = firstBucket(hash);; i = (i + 1) & m_mask) {
        const Bucket& bucket = m_buckets[i];
        if (bucket.number < 0) return -1;
        if (bucket.tag == tag && nameOf(bucket.number) == name) return bucket.number;
    }
}

std::pair<int, bool> NameTable::add(QByteArrayView name) {
    if (m_names.size() * 2 + 2 > m_buckets.size()) rehash(BucketsFor(m_names.size() * 2 + 8));
    const std::uint64_t hash = hashOf(name);
    const std::uint32_t tag = TagOf(hash);
    std::size_t i = firstBucket(hash);
    for (;; i = (i + 1) & m_mask) {
        const Bucket& bucket = m_buckets[i];
        if (bucket.number < 0) break;
        if (bucket.tag == tag && nameOf(bucket.number) == name) return {bucket.number, false};
    }
    const auto number = static_cast<std::int32_t>(m_names.size());
    m_names.push_back({m_bytes.size(), static_cast<std::size_t>(name.size())});
    m_bytes.append(name.data(), static_cast<std::size_t>(name.size()));
    letThrough(hash);
    m_buckets[i] = {tag, number};
    return {number, true};
}

}  // namespace quillet
