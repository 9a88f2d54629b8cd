#include "filelist/name_keys.h"

#include <time.h>

#include <algorithm>
#include <string>

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
    // Written at its final size: one per listed file.
    const qsizetype kept = std::min<qsizetype>(extension.size(), 10);
    const qsizetype padded = std::min<qsizetype>(10, extension.size() + 7);
    QString key(padded + name.size(), Qt::Uninitialized);
    QChar* out = key.data();
    out = std::copy_n(extension.data(), kept, out);
    out = std::fill_n(out, padded - kept, QLatin1Char(' '));
    std::copy_n(name.constData(), name.size(), out);
    return key;
}

QString NumberSortKey(double number, const QString& name) {
    // A whole number of up to 12 digits, which nearly every name carries, is written here;
    // anything else goes through the general padding, which rounds and widens.
    if (number >= 0 && number < 1e12 &&
        number == static_cast<double>(static_cast<std::int64_t>(number))) {
        QString key(12 + name.size(), Qt::Uninitialized);
        char16_t* out = reinterpret_cast<char16_t*>(key.data());
        for (auto whole = static_cast<std::int64_t>(number), i = std::int64_t{11}; i >= 0; --i) {
            out[i] = static_cast<char16_t>(u'0' + whole % 10);
            whole /= 10;
        }
        std::copy_n(name.constData(), name.size(), key.data() + 12);
        return key;
    }
    const std::string digits = ZeroPadText(number, 12);
    QString key(static_cast<qsizetype>(digits.size()) + name.size(), Qt::Uninitialized);
    QChar* out = std::transform(digits.begin(), digits.end(), key.data(),
                                [](char c) { return QLatin1Char(c); });
    std::copy_n(name.constData(), name.size(), out);
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
