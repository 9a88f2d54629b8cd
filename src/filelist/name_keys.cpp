#include "filelist/name_keys.h"

#include <time.h>

#include "naming/numbers.h"

namespace quillet {

namespace {

bool isAsciiDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// The value of a run of ASCII digits. Up to 15 digits a double holds it exactly; longer runs
// go through the general reader, which rounds and saturates.
double DigitsValue(QStringView digits) {
    if (digits.size() > 15) return LeadingNumber(digits);
    double value = 0;
    for (const QChar c : digits) value = value * 10 + (c.unicode() - u'0');
    return value;
}

}  // namespace

NameParts SplitName(QStringView name) {
    qsizetype d = name.size();  // 1-based position of the candidate dot
    while (d > 1 && name.at(d - 1) != QLatin1Char('.')) --d;
    if (d >= 1 && name.at(d - 1) == QLatin1Char('.')) return {name.left(d - 1), name.mid(d), true};
    return {name, QStringView(), false};
}

NumberKey ReadNumberKey(QStringView base) {
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
        key.originalPrefix = allDigits ? QStringView() : base.left(1);
    } else {
        key.originalPrefix = base.left(p);
        key.proposesPrefix = true;
    }
    key.value = DigitsValue(base.mid(allDigits ? p - 1 : p));
    return key;
}

QString ExtensionSortKey(QStringView extension, const QString& name) {
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
    const int year = local.tm_year + 1900;
    if (year < 0 || year > 9999) return {};
    // "yyyy-MM-dd HH:mm:ss", written by hand: one per listed file.
    QString text(19, Qt::Uninitialized);
    QChar* out = text.data();
    const auto put = [&out](int value, int digits) {
        for (int divisor = digits == 4 ? 1000 : 10; divisor > 0; divisor /= 10)
            *out++ = QLatin1Char(static_cast<char>('0' + value / divisor % 10));
    };
    put(year, 4);
    *out++ = QLatin1Char('-');
    put(local.tm_mon + 1, 2);
    *out++ = QLatin1Char('-');
    put(local.tm_mday, 2);
    *out++ = QLatin1Char(' ');
    put(local.tm_hour, 2);
    *out++ = QLatin1Char(':');
    put(local.tm_min, 2);
    *out++ = QLatin1Char(':');
    put(local.tm_sec, 2);
    return text;
}

}  // namespace quillet
