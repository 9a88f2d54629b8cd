#pragma once

#include <string>
#include <string_view>

namespace quillet::test {

// A test case name made from any text, so that a parameterised test names its case after the
// text it is about: letters and digits stay, blanks, dots and underscores become "_", other
// signs a word ("&" becomes "Amp"), other bytes "x" and their hex digits; "Empty" for no text.
std::string TestNameFrom(std::string_view text);

}  // namespace quillet::test
