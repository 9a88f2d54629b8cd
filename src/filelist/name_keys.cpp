#include "filelist/name_keys.h"

#include <time.h>

#include <cstdio>

#include "naming/numbers.h"

namespace quillet {

namespace {

bool isAsciiDigit(QChar c) { return c.unicode() >= u'0' && c.unicode() <= u'9'; }

}  // namespace

NameParts SplitName(const QString& name) {
    qsizetype d = name.size();  // 1-based position of the candidate dot
    while (d > 1 && name.at(d - 1) != QLatin1Char('.')) --d;
    if (d >= 1 && name.at(d - 1) == QLatin1Char('.')) return {name.left(d - 1), name.mid(d), true};
    return {name, QString(), false};
}

NumberKey ReadNumberKey(const QString& base) {
    const qsizetype length = base.size();
    qsizetype p = length;  // 1-based
    while (p > 1 && isAsciiDigit(base.at(p - 1))) --p;

    NumberKey key;
    if (p == length) {
        key.originalPrefix = base;
        key.value = LeadingNumber(base);
        return key;
    }
    key.hasTrailingNumber = true;
    const bool allDigits = isAsciiDigit(base.at(p - 1));
    if (p == 1) {
        key.originalPrefix = allDigits ? QString() : base.left(1);
    } else {
        key.originalPrefix = base.left(p);
        key.proposesPrefix = true;
    }
    key.value = LeadingNumber(allDigits ? base.mid(p - 1) : base.mid(p));
    return key;
}

QString ExtensionSortKey(const QString& extension, const QString& name) {
    QString key;
    key.reserve(10 + name.size());
    key += extension.left(10);
    while (key.size() < 10 && key.size() < extension.size() + 7) key += QLatin1Char(' ');
    key += name;
    return key;
}

QString ModificationTimeText(std::int64_t secondsSinceEpoch) {
    const time_t seconds = static_cast<time_t>(secondsSinceEpoch);
    struct tm local {};
    if (!localtime_r(&seconds, &local)) return {};
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return QString::fromLatin1(text);
}

}  // namespace quillet
