#pragma once

#include <QByteArray>

namespace quillet::test {

// GLib's own answers, from the library that Thunar, Nautilus, Caja and Nemo are built on. It is
// called without its headers, which the test suite does not install; Qt already links it.

// The URI that GIO gives a local path, as Nautilus and Caja hand it to a script.
QByteArray GlibFileUri(const QByteArray& path);

// Runs a command line as Nemo runs an action's, through g_spawn_command_line_sync, which splits
// it with g_shell_parse_argv; returns GLib's error, or an empty text when it ran.
QByteArray GlibRunCommandLine(const QByteArray& commandLine);

}  // namespace quillet::test
