#include "platform/linux/file_patterns.h"

#include <fnmatch.h>
#include <locale.h>

#include <QStringList>

namespace quillet {

namespace {

// fnmatch gives up on a name that is not valid in a multibyte locale; such names are then
// matched byte by byte, as the "C" locale does.
locale_t ByteLocale() {
    static const locale_t locale = ::newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return locale;
}

// The literal tail of a pattern that is a star followed by plain ASCII, lower-cased; empty when
// the pattern has any other shape.
QByteArray PlainSuffix(const QByteArray& pattern) {
    if (pattern.size() < 2 || pattern.at(0) != '*') return {};
    QByteArray suffix = pattern.mid(1);
    for (const char c : suffix) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || c == '*' || c == '?' || c == '[' || c == '\\') return {};
    }
    return suffix.toLower();
}

bool EndsWithCaseless(const QByteArray& name, const QByteArray& lowerSuffix) {
    if (name.size() < lowerSuffix.size()) return false;
    const char* tail = name.constData() + (name.size() - lowerSuffix.size());
    for (qsizetype i = 0; i < lowerSuffix.size(); ++i) {
        char c = tail[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
        if (c != lowerSuffix.at(i)) return false;
    }
    return true;
}

}  // namespace

FilePatterns::FilePatterns(const QString& patterns) {
    for (const QString& part : patterns.split(QLatin1Char(';'))) {
        const QString pattern = part.trimmed();
        if (pattern.isEmpty()) continue;
        if (pattern == QLatin1String("*.*")) m_matchAll = true;
        const QByteArray bytes = pattern.toUtf8();
        const QByteArray suffix = PlainSuffix(bytes);
        if (!suffix.isEmpty()) {
            m_suffixes.push_back(suffix);
        } else {
            m_patterns.push_back(bytes);
        }
    }
    if (m_patterns.empty() && m_suffixes.empty()) m_matchAll = true;
}

bool FilePatterns::matches(const QByteArray& name) const {
    if (m_matchAll) return true;
    for (const QByteArray& suffix : m_suffixes) {
        if (EndsWithCaseless(name, suffix)) return true;
    }
    for (const QByteArray& pattern : m_patterns) {
        const int result = ::fnmatch(pattern.constData(), name.constData(), FNM_CASEFOLD);
        if (result == 0) return true;
        if (result != FNM_NOMATCH && ByteLocale() != locale_t(nullptr)) {
            const locale_t previous = ::uselocale(ByteLocale());
            const int bytewise = ::fnmatch(pattern.constData(), name.constData(), FNM_CASEFOLD);
            ::uselocale(previous);
            if (bytewise == 0) return true;
        }
    }
    return false;
}

}  // namespace quillet
