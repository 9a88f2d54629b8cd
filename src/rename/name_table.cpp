#include "rename/name_table.h"

#include <algorithm>
#include <cstring>

namespace quillet {

namespace {

std::uint32_t tagOf(std::uint64_t hash) {
    return static_cast<std::uint32_t>(hash >> 32);
}

std::uint64_t mix(std::uint64_t value) {
    value ^= value >> 33;
    value *= 0xff51afd7ed558ccdULL;
    value ^= value >> 33;
    value *= 0xc4ceb9fe1a85ec53ULL;
    value ^= value >> 33;
    return value;
}

}  // namespace

std::uint64_t NameTable::hashOf(const QByteArray& name) {
    const char* bytes = name.constData();
    auto left = static_cast<std::size_t>(name.size());
    std::uint64_t hash = 0x9e3779b97f4a7c15ULL ^ left;
    while (left >= 8) {
        std::uint64_t chunk;
        std::memcpy(&chunk, bytes, 8);
        hash = mix(hash ^ chunk);
        bytes += 8;
        left -= 8;
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, bytes, left);
    return mix(hash ^ tail);
}

void NameTable::reset(std::size_t expected) {
    m_names.clear();
    m_names.reserve(expected);
    // At most half full, so that probes stay short.
    std::size_t buckets = 16;
    while (buckets < expected * 2) buckets *= 2;
    if (m_buckets.size() != buckets)
        m_buckets.assign(buckets, Bucket{0, -1});
    else
        std::fill(m_buckets.begin(), m_buckets.end(), Bucket{0, -1});
    m_mask = buckets - 1;
    // Eight bits a bucket: a name that is not held passes the filter about once in sixteen.
    if (m_filtered) {
        const std::size_t filterBits = buckets * 8;
        m_filter.assign(filterBits / 64, 0);
        m_filterMask = filterBits - 1;
    }
}

int NameTable::find(const QByteArray& name) const {
    if (m_buckets.empty()) return -1;
    const std::uint64_t hash = hashOf(name);
    if (!mayHold(hash)) return -1;
    const std::uint32_t tag = tagOf(hash);
    for (std::size_t i = firstBucket(hash);; i = (i + 1) & m_mask) {
        const Bucket& bucket = m_buckets[i];
        if (bucket.number < 0) return -1;
        if (bucket.tag == tag && m_names[static_cast<std::size_t>(bucket.number)] == name)
            return bucket.number;
    }
}

std::pair<int, bool> NameTable::add(const QByteArray& name) {
    if (m_names.size() * 2 + 2 > m_buckets.size()) grow();
    const std::uint64_t hash = hashOf(name);
    const std::uint32_t tag = tagOf(hash);
    for (std::size_t i = firstBucket(hash);; i = (i + 1) & m_mask) {
        Bucket& bucket = m_buckets[i];
        if (bucket.number < 0) {
            if (m_filtered) {
                const std::size_t bit = static_cast<std::size_t>(hash >> 20) & m_filterMask;
                m_filter[bit / 64] |= std::uint64_t{1} << (bit % 64);
            }
            bucket = {tag, static_cast<std::int32_t>(m_names.size())};
            m_names.push_back(name);
            return {bucket.number, true};
        }
        if (bucket.tag == tag && m_names[static_cast<std::size_t>(bucket.number)] == name)
            return {bucket.number, false};
    }
}

void NameTable::grow() {
    std::vector<QByteArray> names = std::move(m_names);
    reset(std::max<std::size_t>(names.size() * 2, 8));
    for (const QByteArray& name : names) add(name);
}

}  // namespace quillet
