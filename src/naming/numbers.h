#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

// The number that the start of a text spells. Blanks, tabs and line feeds are skipped
// wherever they stand; a sign, digits, a decimal part and an exponent (E or D) are read;
// "&H" and "&O" introduce hexadecimal and octal whole numbers. A text that does not begin
// with a number gives 0. The result is always finite: a number too large for a double
// saturates at the largest one.
double LeadingNumber(QStringView text);

// The value rounded to a whole number (halves away from zero), its digits padded on the left
// with "0" to at least `width` digits and never cut; a negative value gets "-" in front.
QString ZeroPad(double value, int width);
// The same digits, appended to a text that is being built.
void AppendZeroPad(QString& text, double value, int width);
// The same digits as plain ASCII; short ones need no allocation.
std::string ZeroPadText(double value, int width);

// The same digits, held in place: the naming pass makes one for every row on every keystroke.
// Padding stops at the room it has, far beyond the 12 digits the program ever asks for.
class ZeroPadded {
  public:
    ZeroPadded() = default;  // no digits at all
    ZeroPadded(double value, int width);
    std::string_view text() const { return {m_text, static_cast<std::size_t>(m_size)}; }

  private:
    // A sign, then the digits of the largest double (309) or the widest padding.
    char m_text[1 + 320];
    int m_size = 0;
};

// A counter's digits as ZeroPadded writes them, moved on by one without being written anew:
// the naming pass counts up over every row on every keystroke.
class CountingDigits {
  public:
    CountingDigits(std::int64_t value, int width);
    std::int64_t value() const { return m_value; }
    std::string_view text() const { return {m_text, static_cast<std::size_t>(m_size)}; }
    void next();

  private:
    void write();

    std::int64_t m_value;
    int m_width;
    char m_text[40];  // a sign, 19 digits, or the 12 of the widest padding
    int m_size = 0;
};

// The counter that numbering starts from: rounded to the nearest whole number with halves
// going to the even neighbour, held inside the 32-bit range.
std::int32_t CounterFrom(double value);

// How many decimal digits a whole number has (at least 1).
int DecimalDigits(double value);

}  // namespace quillet
