#include "rename/plain_file_name.h"

#include <cstdint>
#include <cstring>

#include "platform/file_system.h"

namespace quillet {

namespace {

// Whether any byte of the word is zero.
constexpr bool HasZeroByte(std::uint64_t word) {
    return ((word - 0x0101010101010101ULL) & ~word & 0x8080808080808080ULL) != 0;
}

// Whether the name holds "/" or NUL, eight bytes at a time: this runs for every row of every
// naming pass, and nearly every name holds neither.
bool HoldsSlashOrNul(const char* bytes, std::size_t size) {
    constexpr std::uint64_t kSlashes = 0x2F2F2F2F2F2F2F2FULL;
    const auto either = [](std::uint64_t word) {
        return HasZeroByte(word) || HasZeroByte(word ^ kSlashes);
    };
    if (size < 8) {
        for (std::size_t i = 0; i < size; ++i)
            if (bytes[i] == '/' || bytes[i] == '\0') return true;
        return false;
    }
    std::uint64_t word;
    const char* last = bytes + size - 8;
    for (; bytes < last; bytes += 8) {
        std::memcpy(&word, bytes, sizeof word);
        if (either(word)) return true;
    }
    // The last eight bytes, overlapping the word before when the size is not a multiple of 8.
    std::memcpy(&word, last, sizeof word);
    return either(word);
}

}  // namespace

RenameProblem RefusalOf(QByteArrayView name) {
    const auto size = static_cast<std::size_t>(name.size());
    if (size == 0) return RenameProblem::EmptyName;
    if (size <= 2 && (name == "." || name == "..")) return RenameProblem::ReservedName;
    if (HoldsSlashOrNul(name.data(), size)) {
        if (std::memchr(name.data(), '/', size)) return RenameProblem::Slash;
        if (std::memchr(name.data(), '\0', size)) return RenameProblem::ForbiddenCharacter;
    }
    if (name.size() > kMaxNameBytes) return RenameProblem::TooLong;
    return RenameProblem::None;
}

}  // namespace quillet
