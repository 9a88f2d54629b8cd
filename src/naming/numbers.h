#pragma once

#include <QString>
#include <cstdint>
#include <string>

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

// The counter that numbering starts from: rounded to the nearest whole number with halves
// going to the even neighbour, held inside the 32-bit range.
std::int32_t CounterFrom(double value);

// How many decimal digits a whole number has (at least 1).
int DecimalDigits(double value);

}  // namespace quillet
