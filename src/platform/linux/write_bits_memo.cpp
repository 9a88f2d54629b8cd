#include "platform/linux/write_bits_memo.h"

#include <sys/stat.h>
#include <sys/xattr.h>

namespace quillet {

namespace {
constexpr mode_t WriteBits = S_IWUSR | S_IWGRP | S_IWOTH;
}

std::optional<mode_t> NotedWriteBits(const QByteArray& path) {
    char text[8];
    const ssize_t got = ::getxattr(path.constData(), WriteBitsNoteName, text, sizeof text);
    if (got <= 0) return std::nullopt;
    bool ok = false;
    const uint bits = QByteArray(text, got).toUInt(&ok, 8);
    // A note this program did not write is not trusted with a file's permissions.
    if (!ok || (bits & ~WriteBits) != 0) return std::nullopt;
    return static_cast<mode_t>(bits);
}

bool NoteWriteBits(const QByteArray& path, mode_t bits) {
    const QByteArray text = QByteArray::number(bits & WriteBits, 8);
    return ::setxattr(path.constData(), WriteBitsNoteName, text.constData(),
                      static_cast<size_t>(text.size()), 0) == 0;
}

void DropWriteBitsNote(const QByteArray& path) {
    ::removexattr(path.constData(), WriteBitsNoteName);
}

mode_t WriteBitsToGiveBack(mode_t mode, std::optional<mode_t> noted, mode_t umask) {
    if (noted && (mode & WriteBits) == 0) return *noted | S_IWUSR;
    return (((mode & 0444) >> 1) & ~umask) | S_IWUSR;
}

}  // namespace quillet
