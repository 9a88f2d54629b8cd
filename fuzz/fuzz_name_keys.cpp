// Splitting any file name into its keys: the parts put back give the name, the number key
// describes the end of the base name, the extension key has its fixed layout.

#include <QString>
#include <cmath>
#include <cstdint>

#include "filelist/name_keys.h"
#include "fuzz_check.h"
#include "naming/numbers.h"

using namespace quillet;

namespace {

bool IsAsciiDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const QString name =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const NameParts parts = SplitName(name);
    if (parts.hasDot) {
        FUZZ_CHECK(parts.base.toString() + QLatin1Char('.') + parts.extension.toString() == name);
        FUZZ_CHECK(!parts.extension.contains(QLatin1Char('.')));
        // Only a first-position dot with no later one leaves an empty base name.
        if (parts.base.isEmpty()) FUZZ_CHECK(name.lastIndexOf(QLatin1Char('.')) == 0);
    } else {
        FUZZ_CHECK(parts.base == name && parts.extension.isEmpty());
        FUZZ_CHECK(!name.mid(1).contains(QLatin1Char('.')) && !name.startsWith(QLatin1Char('.')));
    }

    // Any base name with an extension free of dots comes back apart as it was put together.
    if (!name.isEmpty()) {
        const qsizetype cut = static_cast<qsizetype>(data[0]) % (name.size() + 1);
        QString extension = name.mid(cut);
        extension.remove(QLatin1Char('.'));
        const QString base = name.left(cut);
        const QString joined = base + QLatin1Char('.') + extension;
        const NameParts again = SplitName(joined);
        FUZZ_CHECK(again.hasDot && again.base == base && again.extension == extension);
    }

    const NumberKey key = ReadNumberKey(parts.base);
    FUZZ_CHECK(parts.base.startsWith(key.originalPrefix));
    FUZZ_CHECK(std::isfinite(key.value));
    if (key.hasTrailingNumber) {
        FUZZ_CHECK(IsAsciiDigit(parts.base.back()));
        FUZZ_CHECK(key.value >= 0);
        if (key.proposesPrefix) {
            FUZZ_CHECK(key.originalPrefix.size() >= 2);
            FUZZ_CHECK(!IsAsciiDigit(key.originalPrefix.back()));
            for (const QChar c : parts.base.mid(key.originalPrefix.size()))
                FUZZ_CHECK(IsAsciiDigit(c));
        }
    } else {
        FUZZ_CHECK(key.originalPrefix == parts.base);
        FUZZ_CHECK(!key.proposesPrefix);
    }
    const QString sortKey = ZeroPad(key.value, 12);
    FUZZ_CHECK(sortKey.size() >= 12);

    const QString exp = ExtensionSortKey(parts.extension, name);
    FUZZ_CHECK(exp.endsWith(name));
    const qsizetype head = exp.size() - name.size();
    FUZZ_CHECK(head == std::min<qsizetype>(10, parts.extension.size() + 7));
    FUZZ_CHECK(exp.startsWith(parts.extension.left(10)));
    for (qsizetype i = std::min<qsizetype>(parts.extension.size(), 10); i < head; ++i)
        FUZZ_CHECK(exp.at(i) == QLatin1Char(' '));
    return 0;
}
