#pragma once

#include <QByteArray>
#include <cstdint>
#include <optional>

namespace quillet {

// The extended attribute in which file servers and compatibility layers keep a file's
// Hidden, Archive and System flags.
inline constexpr char DosAttribName[] = "user.DOSATTRIB";

// The attribute word a stored value holds: the old text form ("0x20", maybe NUL-terminated) or
// the binary form of versions 1 to 4. Nothing for a form this program does not know.
std::optional<std::uint32_t> ParseDosAttrib(const QByteArray& value);

// The stored value with its attribute word replaced and every other byte kept as it was.
// Nothing for a form this program does not know; such a value must be left alone.
std::optional<QByteArray> ReplaceDosAttrib(const QByteArray& value, std::uint32_t attributes);

// A new value in the text form that every reader understands.
QByteArray TextDosAttrib(std::uint32_t attributes);

// Whether a link is looked through to what it leads to, or refused.
enum class LinkHandling { Follow, Refuse };

// The attribute bits of the entry `name` relative to the folder `dirFd` (AT_FDCWD with a path
// works too); nothing when the entry cannot be examined, or is a link that is to be refused.
std::optional<std::uint32_t> ReadFileAttributes(int dirFd, const QByteArray& name,
                                                LinkHandling links = LinkHandling::Follow);

// Sets read-only, hidden, archive and system as `bits` asks and keeps everything else; a link
// is left alone, and so is what it leads to (ELOOP). Clearing read-only gives back the write
// bits that setting it took, where the file could keep a note of them, else those "chmod +w"
// would. Returns 0 or an errno value (ENOTSUP where the file system keeps no such flags).
int WriteFileAttributes(int dirFd, const QByteArray& name, std::uint32_t bits);

}  // namespace quillet
