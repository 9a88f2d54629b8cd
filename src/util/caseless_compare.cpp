#include "util/caseless_compare.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace quillet {

int CompareCaseless(QStringView a, QStringView b) {
    const char16_t* left = a.utf16();
    const char16_t* right = b.utf16();
    const qsizetype common = std::min(a.size(), b.size());
    qsizetype i = 0;
    // Equal stretches (the zero padding of sort keys, a shared prefix) are skipped four
    // characters at a time.
    for (; i + 4 <= common; i += 4) {
        std::uint64_t l;
        std::uint64_t r;
        std::memcpy(&l, left + i, sizeof l);
        std::memcpy(&r, right + i, sizeof r);
        if (l != r) break;
    }
    for (; i < common; ++i) {
        char16_t l = left[i];
        char16_t r = right[i];
        if (l == r) continue;
        if ((l | r) >= 0x80) {
            // Past ASCII, the full case folding decides; the stretch before is equal.
            return a.mid(i).compare(b.mid(i), Qt::CaseInsensitive);
        }
        if (l >= u'A' && l <= u'Z') l += 32;
        if (r >= u'A' && r <= u'Z') r += 32;
        if (l != r) return l < r ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

namespace {

// A sort entry whose first sixteen characters past the prefix every text shares are packed
// into two integers, folded, so that most comparisons of a large sort are integer comparisons
// instead of a walk through two texts: camera names differ in a few digits near their end.
struct Abbreviated {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    std::uint32_t index = 0;
    // The packed characters are ASCII, so they order as the texts do.
    bool exactHigh = false;
    bool exactLow = false;
};

constexpr qsizetype kPackedPerWord = 8;

qsizetype CommonPrefix(const std::vector<QStringView>& texts) {
    const QStringView first = texts.front();
    qsizetype length = first.size();
    for (const QStringView text : texts) {
        const qsizetype common = std::min(length, text.size());
        qsizetype i = 0;
        while (i < common && text[i] == first[i]) ++i;
        length = i;
        if (length == 0) break;
    }
    return length;
}

// Eight characters from `from` folded into one integer, the first in the highest byte, or
// false when one is not ASCII. A text that ends sooner is padded with zeros, so it goes before
// any longer one it begins. The eight UTF-16 units are checked and folded four at a time.
bool Pack(QStringView text, qsizetype from, std::uint64_t& word) {
    static_assert(std::endian::native == std::endian::little);
    std::uint64_t units[2] = {0, 0};
    const qsizetype available = std::clamp<qsizetype>(text.size() - from, 0, kPackedPerWord);
    if (available > 0)
        std::memcpy(units, text.utf16() + from, static_cast<std::size_t>(available) * 2);
    constexpr std::uint64_t kLanes = 0x0001000100010001;  // one in each 16-bit unit
    if ((units[0] | units[1]) & (kLanes * 0xff80)) return false;
    const auto fourBytes = [](std::uint64_t lanes) {
        // Bit 7 of a unit is set, by adding, for 'A' and up and for past 'Z'; no unit carries
        // into the next, as every unit is below 0x80.
        const std::uint64_t fromA = lanes + kLanes * (0x80 - 'A');
        const std::uint64_t pastZ = lanes + kLanes * (0x80 - 'Z' - 1);
        lanes += (fromA & ~pastZ & (kLanes * 0x80)) >> 2;  // 0x20 more for capitals
        lanes = (lanes | lanes >> 8) & 0x0000ffff0000ffff;
        return (lanes | lanes >> 16) & 0xffffffff;
    };
    word = __builtin_bswap64(fourBytes(units[0]) | fourBytes(units[1]) << 32);
    return true;
}

Abbreviated Abbreviate(QStringView text, qsizetype from, std::uint32_t index) {
    Abbreviated entry;
    entry.index = index;
    entry.exactHigh = Pack(text, from, entry.high);
    entry.exactLow = entry.exactHigh && Pack(text, from + kPackedPerWord, entry.low);
    return entry;
}

}  // namespace

std::vector<std::uint32_t> CaselessOrder(
    const std::vector<QStringView>& texts, bool descending,
    const std::function<bool(std::uint32_t, std::uint32_t)>& tieBefore) {
    if (texts.size() < 2) return {};
    // Rows often stand in order already (camera numbers follow name order): one pass over the
    // texts themselves finds out, and stops at the first pair out of order.
    bool inOrder = true;
    for (std::uint32_t i = 1; i < texts.size() && inOrder; ++i) {
        const int comparison = CompareCaseless(texts[i - 1], texts[i]);
        inOrder = descending ? comparison >= 0 : comparison <= 0;
        if (comparison == 0 && tieBefore) inOrder = !tieBefore(i, i - 1);
    }
    if (inOrder) return {};
    // Characters every text shares decide nothing: the packed ones start after them.
    const qsizetype from = CommonPrefix(texts);
    std::vector<Abbreviated> entries;
    entries.reserve(texts.size());
    for (std::uint32_t i = 0; i < texts.size(); ++i)
        entries.push_back(Abbreviate(texts[i], from, i));
    const auto before = [&](const Abbreviated& a, const Abbreviated& b) {
        int comparison;
        if (a.exactHigh && b.exactHigh && a.high != b.high) {
            comparison = a.high < b.high ? -1 : 1;
        } else if (a.exactLow && b.exactLow && a.low != b.low) {
            comparison = a.low < b.low ? -1 : 1;
        } else {
            comparison = CompareCaseless(texts[a.index], texts[b.index]);
        }
        if (comparison != 0) return descending ? comparison > 0 : comparison < 0;
        if (tieBefore) {
            if (tieBefore(a.index, b.index)) return true;
            if (tieBefore(b.index, a.index)) return false;
        }
        return a.index < b.index;
    };
    // The index breaks the last ties, so the order is total and an unstable sort keeps equal
    // texts in their order.
    std::sort(entries.begin(), entries.end(), before);
    std::vector<std::uint32_t> order;
    order.reserve(entries.size());
    for (const Abbreviated& entry : entries) order.push_back(entry.index);
    return order;
}

}  // namespace quillet
