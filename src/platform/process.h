#pragma once

#include <QByteArray>
#include <QStringList>

namespace quillet {

// The running program: how it was started, where it lives, and how it ends.
class Process {
  public:
    virtual ~Process() = default;
    // The arguments after the program's own path, joined by single blanks, unquoted.
    virtual QByteArray commandLine() = 0;
    // The folder that holds the program file.
    virtual QByteArray programFolder() = 0;
    // Ends the program at once: no further handler of the window runs.
    [[noreturn]] virtual void endNow() = 0;
};

}  // namespace quillet
