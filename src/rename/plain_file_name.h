#pragma once

#include <QByteArray>

namespace quillet {

// Whether a name is one plain entry of a folder: not empty, not "." or "..", free of "/" and
// NUL, and within the file system's limit of 255 bytes. Anything else could move a file out of
// its folder or fail half-way, so the rename step refuses it.
bool IsPlainFileName(const QByteArray& name);

}  // namespace quillet
