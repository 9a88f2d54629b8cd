#pragma once

#include <QByteArray>

#include "platform/special_folders.h"

namespace quillet {

// A launcher file as one file manager wants it: its name inside its folder, its content and
// its permission bits.
struct LauncherFile {
    QByteArray name;
    QByteArray content;
    unsigned mode = 0644;
};

// The launcher for the desktop: it starts `program` on the folder dropped on it, if any.
LauncherFile DesktopLauncher(const QByteArray& program);

// The launcher that starts `program` with the one folder the user chose as its argument.
LauncherFile SendToLauncher(LauncherForm form, const QByteArray& program);

}  // namespace quillet
