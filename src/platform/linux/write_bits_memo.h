#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <optional>

namespace quillet {

// Setting read-only takes every write bit from a file; the file keeps a note of the ones it
// had, so that clearing read-only gives exactly those back, not what the umask happens to
// allow. Where the file system keeps no extended attributes there is no note, and clearing
// falls back to what "chmod +w" would give.
inline constexpr char WriteBitsNoteName[] = "user.quillet.write-bits";

// The write bits noted on the file at `path`; nothing when there is no readable note.
std::optional<mode_t> NotedWriteBits(const QByteArray& path);
// Notes the write bits `bits` (within 0222) on the file; false where it cannot be kept.
bool NoteWriteBits(const QByteArray& path, mode_t bits);
void DropWriteBitsNote(const QByteArray& path);

// The write bits clearing read-only gives a file of mode `mode` that has lost its owner's:
// the noted ones while the file has no write bit at all, as read-only left it (a file whose
// mode was changed since has outgrown the note); otherwise a write bit for each class that may
// read, less what `umask` withholds. The owner's always, or the file would stay read-only.
mode_t WriteBitsToGiveBack(mode_t mode, std::optional<mode_t> noted, mode_t umask);

}  // namespace quillet
