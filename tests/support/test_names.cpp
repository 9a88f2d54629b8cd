#include "support/test_names.h"

#include <cctype>

namespace quillet::test {

namespace {

struct SignWord {
    char sign;
    const char* word;
};

constexpr SignWord kWords[] = {
    {'-', "Minus"}, {'+', "Plus"},      {'&', "Amp"},     {'\t', "Tab"},       {'\n', "Newline"},
    {'*', "Star"},  {'?', "Question"},  {'/', "Slash"},   {'\\', "Backslash"}, {':', "Colon"},
    {',', "Comma"}, {';', "Semicolon"}, {'"', "Quote"},   {'<', "Less"},       {'>', "Greater"},
    {'|', "Bar"},   {'@', "At"},        {'`', "Backtick"}};

const char* WordFor(char c) {
    for (const SignWord& entry : kWords) {
        if (entry.sign == c) return entry.word;
    }
    return nullptr;
}

}  // namespace

std::string TestNameFrom(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string name;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80 && std::isalnum(byte)) {
            name += c;
        } else if (c == ' ' || c == '.' || c == '_') {
            name += '_';
        } else if (const char* word = WordFor(c)) {
            name += word;
        } else {
            name += 'x';
            name += kHex[byte >> 4];
            name += kHex[byte & 0xF];
        }
    }
    return name.empty() ? std::string("Empty") : name;
}

}  // namespace quillet::test
