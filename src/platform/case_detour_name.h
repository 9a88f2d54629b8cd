#pragma once

#include <QByteArray>
#include <optional>

namespace quillet {

// A change of letter case alone parks the file for a moment under a visible name that says
// what it is and keeps the old name: "IMG_1.jpg" becomes "IMG_1~quillet-case~.jpg" (with a
// number after "case" when that is taken). A crash between the two steps leaves the file there,
// where the next listing of the folder finds it and gives it back its old name.
QByteArray CaseDetourName(const QByteArray& original, int attempt);
// The old name a detour name keeps, or nothing for any other name.
std::optional<QByteArray> CaseDetourOriginal(const QByteArray& name);

// A name claimed for a rename is announced first by an empty file beside it, which names it in
// the same way: "IMG_1.jpg" is announced by "IMG_1~quillet-claim~.jpg" until the placeholder
// under "IMG_1.jpg" holds its text. A crash between the two leaves an empty placeholder that
// only the notice tells from a user's empty file, where the file system keeps no modes.
QByteArray ClaimNoticeName(const QByteArray& claimed);
// The claimed name a notice names, or nothing for any other name.
std::optional<QByteArray> ClaimNoticeClaimed(const QByteArray& name);

}  // namespace quillet
