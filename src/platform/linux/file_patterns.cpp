#include "platform/linux/file_patterns.h"

#include <fnmatch.h>
#include <locale.h>

#include <QStringList>

namespace quillet {

namespace {

// fnmatch gives up on a name that is not valid in a multibyte locale; such names are then
// matched byte by byte, as the "C" locale does.
locale_t byteLocale() {
    static const locale_t locale = ::newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return locale;
}

}  // namespace

FilePatterns::FilePatterns(const QString& patterns) {
    for (const QString& part : patterns.split(QLatin1Char(';'))) {
        const QString pattern = part.trimmed();
        if (pattern.isEmpty()) continue;
        if (pattern == QLatin1String("*.*")) m_matchAll = true;
        m_patterns.push_back(pattern.toUtf8());
    }
    if (m_patterns.empty()) m_matchAll = true;
}

bool FilePatterns::matches(const QByteArray& name) const {
    if (m_matchAll) return true;
    for (const QByteArray& pattern : m_patterns) {
        const int result = ::fnmatch(pattern.constData(), name.constData(), FNM_CASEFOLD);
        if (result == 0) return true;
        if (result != FNM_NOMATCH && byteLocale() != locale_t(nullptr)) {
            const locale_t previous = ::uselocale(byteLocale());
            const int bytewise = ::fnmatch(pattern.constData(), name.constData(), FNM_CASEFOLD);
            ::uselocale(previous);
            if (bytewise == 0) return true;
        }
    }
    return false;
}

}  // namespace quillet
