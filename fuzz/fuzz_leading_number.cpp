// LeadingNumber over any text, and what ZeroPad and the counter make of its value.

#include <QString>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "fuzz_check.h"
#include "naming/numbers.h"

using namespace quillet;

namespace {

qsizetype DigitCount(const QString& padded) {
    return padded.startsWith(QLatin1Char('-')) ? padded.size() - 1 : padded.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const double value = LeadingNumber(text);
    FUZZ_CHECK(std::isfinite(value));

    // Blanks, tabs and line feeds are skipped wherever they stand.
    QString spaced;
    for (const QChar c : text) {
        spaced += c;
        spaced += QLatin1Char(' ');
    }
    const double again = LeadingNumber(QStringLiteral("\t ") + spaced);
    FUZZ_CHECK(again == value);

    const QString natural = ZeroPad(value, 1);
    for (int width = 1; width <= 12; ++width) {
        const QString padded = ZeroPad(value, width);
        // Padding only ever adds zeros in front; digits are never cut.
        FUZZ_CHECK(DigitCount(padded) == std::max<qsizetype>(width, DigitCount(natural)));
        FUZZ_CHECK(padded.endsWith(natural.mid(natural.startsWith(QLatin1Char('-')) ? 1 : 0)));
        for (qsizetype i = padded.startsWith(QLatin1Char('-')) ? 1 : 0; i < padded.size(); ++i)
            FUZZ_CHECK(padded.at(i).isDigit() && padded.at(i).unicode() < 128);
    }
    // Within the range a double holds exactly, the digits are the value's own.
    if (std::fabs(value) < 1e15) {
        const long long rounded = std::llround(value);
        char expected[32];
        std::snprintf(expected, sizeof expected, "%lld", rounded < 0 ? -rounded : rounded);
        const QString digits = natural.startsWith(QLatin1Char('-')) ? natural.mid(1) : natural;
        FUZZ_CHECK(digits == QLatin1String(expected));
        FUZZ_CHECK(natural.startsWith(QLatin1Char('-')) == (rounded < 0));
    }

    const std::int32_t counter = CounterFrom(value);
    if (value >= INT32_MIN && value <= INT32_MAX) FUZZ_CHECK(std::fabs(counter - value) <= 0.5);
    FUZZ_CHECK(DecimalDigits(value) >= 1);
    FUZZ_CHECK(DecimalDigits(value) == DigitCount(natural));
    return 0;
}
