#pragma once

#include <QByteArray>

namespace quillet {

// Whether a launcher refuses a name that holds U+FFFD. A file manager that shows bytes that are
// not UTF-8 as U+FFFD passes the same name for every folder that differs only in such bytes,
// and for the folder whose name really holds U+FFFD.
enum class ReplacedNames { Kept, Refused };

// A desktop entry's Exec value that starts `program` on the one path the file manager fills in
// for `fieldCode` when that path is a folder, and otherwise tells the user that it started
// nothing.
QByteArray ShellExec(const QByteArray& program, const char* fieldCode, ReplacedNames replaced);

// A desktop entry's Exec value that starts `program` with what the desktop fills in for
// `fieldCode`, or with nothing when it fills in nothing.
QByteArray ShellExecPassingOn(const QByteArray& program, const char* fieldCode);

// The script for a Scripts menu whose file manager names its variables with `prefix`
// ("NAUTILUS", "CAJA"): it starts `program` on the first selected item, or on the folder shown
// when nothing is selected, in the same way.
QByteArray SelectionScript(const QByteArray& program, const QByteArray& prefix);

}  // namespace quillet
