#pragma once

#include <QFont>

namespace quillet {

// The window's font: the design face when the system has it, else a Japanese face that Linux
// desktops ship, so that every caption stays readable.
QFont InterfaceFont();

// The face of the help text, with the same fallback.
QFont HelpTextFont();

}  // namespace quillet
