#pragma once

#include <QByteArray>
#include <optional>

namespace quillet {

// A change of letter case alone parks the file for a moment under a visible name that says
// what it is and keeps the old name: "IMG_1.jpg" becomes "IMG_1~quillet-case~.jpg" (with a
// number after "case" when that is taken). A crash between the two steps leaves the file there,
// where the next listing of the folder finds it and gives it back its old name.
QByteArray caseDetourName(const QByteArray& original, int attempt);
// The old name a detour name keeps, or nothing for any other name.
std::optional<QByteArray> caseDetourOriginal(const QByteArray& name);

}  // namespace quillet
