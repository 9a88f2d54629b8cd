#include "filelist/name_keys.h"

#include <time.h>

#include <algorithm>
#include <string>

#include "naming/numbers.h"

namespace quillet {

namespace {

bool IsAsciiDigit(QChar c) {
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

// A key of known size, written where it is to stay.
class KeyText {
  public:
    KeyText(qsizetype size, TextBlocks* blocks) : m_blocks(blocks) {
        if (blocks) {
            m_out = reinterpret_cast<QChar*>(blocks->room(size));
        } else {
            m_own = QString(size, Qt::Uninitialized);
            m_out = m_own.data();
        }
    }
    QChar* out() const { return m_out; }
    QString take() { return m_blocks ? m_blocks->take() : std::move(m_own); }

  private:
    TextBlocks* m_blocks;
    QString m_own;
    QChar* m_out = nullptr;
};

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
    while (p > 1 && IsAsciiDigit(base.at(p - 1))) --p;

    NumberKey key;
    if (p == length) {
        key.originalPrefix = base;
        key.value = LeadingNumber(base);
        return key;
    }
    key.hasTrailingNumber = true;
    const bool allDigits = IsAsciiDigit(base.at(p - 1));
    if (p == 1) {
        key.originalPrefix = allDigits ? QStringView() : base.left(1);
    } else {
        key.originalPrefix = base.left(p);
        key.proposesPrefix = true;
    }
    key.value = DigitsValue(base.mid(allDigits ? p - 1 : p));
    return key;
}

QString ExtensionSortKey(QStringView extension, QStringView name, TextBlocks* blocks) {
    const qsizetype kept = std::min<qsizetype>(extension.size(), 10);
    const qsizetype padded = std::min<qsizetype>(10, extension.size() + 7);
    KeyText key(padded + name.size(), blocks);
    QChar* out = key.out();
    out = std::copy_n(extension.data(), kept, out);
    out = std::fill_n(out, padded - kept, QLatin1Char(' '));
    std::copy_n(name.data(), name.size(), out);
    return key.take();
}

QString NumberSortKey(double number, QStringView name, TextBlocks* blocks) {
    // A whole number of up to 12 digits, which nearly every name carries, is written here;
    // anything else goes through the general padding, which rounds and widens.
    if (number >= 0 && number < 1e12 &&
        number == static_cast<double>(static_cast<std::int64_t>(number))) {
        KeyText key(12 + name.size(), blocks);
        char16_t* out = reinterpret_cast<char16_t*>(key.out());
        int i = 11;
        for (auto whole = static_cast<std::int64_t>(number); whole > 0; whole /= 10)
            out[i--] = static_cast<char16_t>(u'0' + whole % 10);
        std::fill(out, out + i + 1, u'0');
        std::copy_n(name.data(), name.size(), key.out() + 12);
        return key.take();
    }
    const std::string digits = ZeroPadText(number, 12);
    KeyText key(static_cast<qsizetype>(digits.size()) + name.size(), blocks);
    QChar* out = std::transform(digits.begin(), digits.end(), key.out(),
                                [](char c) { return QLatin1Char(c); });
    std::copy_n(name.data(), name.size(), out);
    return key.take();
}

namespace {

struct CivilTime {
    std::int64_t year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const CivilTime&) const = default;
};

// The local time as the C library gives it, and the offset from UTC it applied.
bool LocalTime(std::int64_t secondsSinceEpoch, CivilTime& time, long& offset) {
    const time_t seconds = static_cast<time_t>(secondsSinceEpoch);
    struct tm local {};
    if (!localtime_r(&seconds, &local)) return false;
    time = {local.tm_year + std::int64_t{1900},
            local.tm_mon + 1,
            local.tm_mday,
            local.tm_hour,
            local.tm_min,
            local.tm_sec};
    offset = local.tm_gmtoff;
    return true;
}

std::int64_t FloorDivide(std::int64_t value, std::int64_t divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

constexpr std::int64_t kSecondsPerDay = 86400;

// Proleptic Gregorian calendar arithmetic on a count of seconds since 1970 in local time.
CivilTime CivilTimeOf(std::int64_t localSeconds) {
    const std::int64_t days = FloorDivide(localSeconds, kSecondsPerDay);
    const auto ofDay = static_cast<int>(localSeconds - days * kSecondsPerDay);
    const std::int64_t shifted = days + 719468;  // days since 0000-03-01
    const std::int64_t era = FloorDivide(shifted, 146097);
    const auto dayOfEra = static_cast<unsigned>(shifted - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthFromMarch = (5 * dayOfYear + 2) / 153;
    CivilTime time;
    time.day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    time.month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    time.year = static_cast<std::int64_t>(yearOfEra) + era * 400 + (time.month <= 2 ? 1 : 0);
    time.hour = ofDay / 3600;
    time.minute = ofDay / 60 % 60;
    time.second = ofDay % 60;
    return time;
}

// "yyyy-MM-dd HH:mm:ss", written by hand: one per listed file.
QString TimeText(const CivilTime& time, TextBlocks* blocks = nullptr) {
    if (time.year < 0 || time.year > 9999) return {};
    KeyText text(19, blocks);
    QChar* out = text.out();
    const auto put = [&out](std::int64_t value, int digits) {
        for (int divisor = digits == 4 ? 1000 : 10; divisor > 0; divisor /= 10)
            *out++ = QLatin1Char(static_cast<char>('0' + value / divisor % 10));
    };
    put(time.year, 4);
    *out++ = QLatin1Char('-');
    put(time.month, 2);
    *out++ = QLatin1Char('-');
    put(time.day, 2);
    *out++ = QLatin1Char(' ');
    put(time.hour, 2);
    *out++ = QLatin1Char(':');
    put(time.minute, 2);
    *out++ = QLatin1Char(':');
    put(time.second, 2);
    return text.take();
}

}  // namespace

QString ModificationTimeText(std::int64_t secondsSinceEpoch) {
    CivilTime time;
    long offset = 0;
    if (!LocalTime(secondsSinceEpoch, time, offset)) return {};
    return TimeText(time);
}

QString ModificationTimeTexts::of(std::int64_t secondsSinceEpoch, TextBlocks* blocks) {
    // Far outside the years a text can show, the C library alone decides.
    constexpr std::int64_t kFar = std::int64_t{20000} * 366 * kSecondsPerDay;
    if (secondsSinceEpoch < -kFar || secondsSinceEpoch > kFar)
        return ModificationTimeText(secondsSinceEpoch);
    const std::int64_t day = FloorDivide(secondsSinceEpoch, kSecondsPerDay);
    const auto [found, added] = m_days.try_emplace(day);
    Day& known = found->second;
    if (added) {
        // The offset holds for the whole day when both its ends agree on it, and the arithmetic
        // is trusted only where it gives what the C library gives (a zone that counts leap
        // seconds does not).
        const std::int64_t first = day * kSecondsPerDay;
        const std::int64_t last = first + kSecondsPerDay - 1;
        CivilTime atFirst;
        CivilTime atLast;
        long firstOffset = 0;
        long lastOffset = 0;
        known.uniform = LocalTime(first, atFirst, firstOffset) &&
                        LocalTime(last, atLast, lastOffset) && firstOffset == lastOffset &&
                        CivilTimeOf(first + firstOffset) == atFirst &&
                        CivilTimeOf(last + lastOffset) == atLast;
        known.offset = firstOffset;
    }
    if (!known.uniform) return ModificationTimeText(secondsSinceEpoch);
    return TimeText(CivilTimeOf(secondsSinceEpoch + known.offset), blocks);
}

}  // namespace quillet
