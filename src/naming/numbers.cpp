#include "naming/numbers.h"

#include <locale.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace quillet {

namespace {

bool IsSkipped(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

// The characters of the text with blanks, tabs and line feeds taken out, as far as they can
// belong to a number at all (ASCII); reading stops at the first character that cannot.
class Reader {
  public:
    explicit Reader(QStringView text) : m_text(text) {}

    char16_t peek() {
        while (m_pos < m_text.size() && IsSkipped(m_text.at(m_pos).unicode())) ++m_pos;
        return m_pos < m_text.size() ? m_text.at(m_pos).unicode() : u'\0';
    }
    void advance() { ++m_pos; }

  private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

int DigitValue(char16_t c, int radix) {
    int value = -1;
    if (IsDigit(c))
        value = c - u'0';
    else if (c >= u'a' && c <= u'f')
        value = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        value = c - u'A' + 10;
    return value < radix ? value : -1;
}

double Saturate(double value) {
    if (std::isnan(value)) return 0;
    if (std::isinf(value)) return value > 0 ? DBL_MAX : -DBL_MAX;
    return value;
}

double ReadRadix(Reader& reader, int radix) {
    double value = 0;
    for (int digit; (digit = DigitValue(reader.peek(), radix)) >= 0; reader.advance())
        value = value * radix + digit;
    return Saturate(value);
}

double ParseDecimal(const std::string& number) {
    // The C locale, so that the decimal point is "." whatever the user's locale says.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    return Saturate(strtod_l(number.c_str(), nullptr, cLocale));
}

}  // namespace

double LeadingNumber(QStringView text) {
    Reader reader(text);
    if (reader.peek() == u'&') {
        reader.advance();
        const char16_t kind = reader.peek();
        reader.advance();
        if (kind == u'H' || kind == u'h') return ReadRadix(reader, 16);
        if (kind == u'O' || kind == u'o') return ReadRadix(reader, 8);
        return 0;
    }

    std::string number;
    if (reader.peek() == u'+' || reader.peek() == u'-') {
        number += static_cast<char>(reader.peek());
        reader.advance();
    }
    bool anyDigit = false;
    for (; IsDigit(reader.peek()); reader.advance()) {
        number += static_cast<char>(reader.peek());
        anyDigit = true;
    }
    if (reader.peek() == u'.') {
        number += '.';
        reader.advance();
        for (; IsDigit(reader.peek()); reader.advance()) {
            number += static_cast<char>(reader.peek());
            anyDigit = true;
        }
    }
    if (!anyDigit) return 0;
    const char16_t e = reader.peek();
    if (e == u'E' || e == u'e' || e == u'D' || e == u'd') {
        reader.advance();
        std::string exponent = "e";
        if (reader.peek() == u'+' || reader.peek() == u'-') {
            exponent += static_cast<char>(reader.peek());
            reader.advance();
        }
        bool exponentDigits = false;
        for (; IsDigit(reader.peek()); reader.advance()) {
            exponent += static_cast<char>(reader.peek());
            exponentDigits = true;
        }
        if (exponentDigits) number += exponent;
    }
    return ParseDecimal(number);
}

ZeroPadded::ZeroPadded(double value, int width) {
    const double rounded = std::round(Saturate(value));  // halves away from zero
    const double magnitude = std::fabs(rounded);
    char digits[400];
    int length = 0;
    if (magnitude < 9.0e18) {
        // Written from the right: this runs for every row on every keystroke.
        auto whole = static_cast<unsigned long long>(magnitude);
        char* end = digits + sizeof digits;
        char* at = end;
        do {
            *--at = static_cast<char>('0' + whole % 10);
            whole /= 10;
        } while (whole != 0);
        length = static_cast<int>(end - at);
        std::memmove(digits, at, static_cast<std::size_t>(length));
    } else {
        length = std::snprintf(digits, sizeof digits, "%.0f", magnitude);
    }
    char* out = m_text;
    if (rounded < 0) *out++ = '-';
    const int room = static_cast<int>(sizeof m_text) - 1 - length;
    const int zeros = std::clamp(width - length, 0, room);
    out = std::fill_n(out, zeros, '0');
    out = std::copy_n(digits, length, out);
    m_size = static_cast<int>(out - m_text);
}

CountingDigits::CountingDigits(std::int64_t value, int width)
    : m_value(value), m_width(std::clamp(width, 1, 12)) {
    write();
}

void CountingDigits::write() {
    const ZeroPadded padded(static_cast<double>(m_value), m_width);
    m_size = static_cast<int>(padded.text().size());
    std::copy_n(padded.text().data(), m_size, m_text);
}

void CountingDigits::next() {
    ++m_value;
    // Below zero the sign and the padding move; that is rare enough to write anew.
    if (m_value <= 0) {
        write();
        return;
    }
    int at = m_size - 1;
    for (; at >= 0 && m_text[at] == '9'; --at) m_text[at] = '0';
    if (at >= 0) {
        ++m_text[at];
        return;
    }
    // All nines: one digit more.
    std::memmove(m_text + 1, m_text, static_cast<std::size_t>(m_size));
    m_text[0] = '1';
    ++m_size;
}

std::string ZeroPadText(double value, int width) {
    return std::string(ZeroPadded(value, width).text());
}

void AppendZeroPad(QString& text, double value, int width) {
    const std::string digits = ZeroPadText(value, width);
    text.append(QLatin1StringView(digits.data(), static_cast<qsizetype>(digits.size())));
}

QString ZeroPad(double value, int width) {
    QString text;
    AppendZeroPad(text, value, width);
    return text;
}

std::int32_t CounterFrom(double value) {
    if (std::isnan(value)) return 0;
    const double rounded = std::nearbyint(value);  // the default mode sends halves to even
    if (rounded >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (rounded <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(rounded);
}

int DecimalDigits(double value) {
    return static_cast<int>(ZeroPad(std::fabs(value), 1).size());
}

}  // namespace quillet
