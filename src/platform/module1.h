#pragma once

#include <QByteArray>
#include <QString>

#include "platform/file_system.h"
#include "platform/special_folders.h"

namespace quillet {

// The folder's path without a trailing "/"; the empty text when the folder is unknown.
QByteArray GetSpecialFolderPath(SpecialFolders& folders, int folderId);

// The part of the text before its first NUL character.
QString TrimAtNull(const QString& text);

// Rewrites `path` with every component spelled as the file system stores it, or as "?" when a
// component does not exist or the path holds an empty component (a doubled or trailing "/").
// A relative path is taken from the current directory and comes back absolute. "." and ".."
// are looked up like any other name and kept: the result names the same folder even where a
// link would make a lexical clean-up ("a/b/.." to "a") name another one.
void ToLongPath(FileSystem& files, QByteArray& path);

// "R-H-A-S" with "*" for each of read-only, hidden, archive and system that is clear; the empty
// text when the attributes cannot be read.
QString AttributeMask(FileSystem& files, const QByteArray& path);

}  // namespace quillet
