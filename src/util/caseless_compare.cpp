#include "util/caseless_compare.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace quillet {

int CompareCaseless(const QString& a, const QString& b) {
    const char16_t* left = reinterpret_cast<const char16_t*>(a.constData());
    const char16_t* right = reinterpret_cast<const char16_t*>(b.constData());
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
            return QStringView(a).mid(i).compare(QStringView(b).mid(i), Qt::CaseInsensitive);
        }
        if (l >= u'A' && l <= u'Z') l += 32;
        if (r >= u'A' && r <= u'Z') r += 32;
        if (l != r) return l < r ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

CaselessKey MakeCaselessKey(const QString& text) {
    CaselessKey key;
    key.folded.resize(static_cast<std::size_t>(text.size()));
    const char16_t* units = reinterpret_cast<const char16_t*>(text.constData());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t c = units[i];
        if (c >= 0x80) {
            key.folded.clear();
            return key;
        }
        if (c >= u'A' && c <= u'Z') c += 32;
        key.folded[static_cast<std::size_t>(i)] = static_cast<char>(c);
    }
    key.ascii = true;
    return key;
}

}  // namespace quillet
