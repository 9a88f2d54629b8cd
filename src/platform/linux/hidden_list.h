#pragma once

#include <QByteArray>

namespace quillet {

// The folder's ".hidden" file: one name per line, which GIO and KIO file managers do not show.
inline constexpr char HiddenListName[] = ".hidden";
// Set on a ".hidden" file this program created, which it may then remove once it is empty.
inline constexpr char HiddenListCreatedMark[] = "user.quillet.created";

// Whether the entry `name` (relative to `dirFd`; AT_FDCWD with a path works too) is named in
// its folder's ".hidden" file.
bool ListedAsHidden(int dirFd, const QByteArray& name);

// Adds the entry's name to its folder's ".hidden" file or takes it out, replacing the file in
// one step and keeping every other byte of it. A list left empty is removed only when this
// program created it. Returns 0 or an errno value.
int SetListedAsHidden(int dirFd, const QByteArray& name, bool listed);

}  // namespace quillet
