#include "shell/launch_commands.h"

namespace quillet {

namespace {

// A string value as a key file holds it: every backslash doubled and line breaks and tabs
// spelt out, since a value cannot hold them raw.
QByteArray KeyFileValue(const QByteArray& text) {
    QByteArray value;
    for (const char c : text) {
        if (c == '\\')
            value += "\\\\";
        else if (c == '\n')
            value += "\\n";
        else if (c == '\t')
            value += "\\t";
        else if (c == '\r')
            value += "\\r";
        else
            value += c;
    }
    return value;
}

// A word for the POSIX shell, which takes everything between single quotes literally.
QByteArray ShellWord(const QByteArray& word) {
    QByteArray quoted = "'";
    for (const char c : word) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + '\'';
}

// The bytes as printf's %b gives them back, in printable ASCII alone: a desktop entry must be
// UTF-8 text, and a program's path may be any bytes.
QByteArray PrintfEscaped(const QByteArray& bytes) {
    QByteArray escaped;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            escaped += "\\\\";
        } else if (byte >= 0x20 && byte < 0x7f) {
            escaped += c;
        } else {
            escaped += "\\0";
            escaped += char('0' + (byte >> 6));
            escaped += char('0' + ((byte >> 3) & 7));
            escaped += char('0' + (byte & 7));
        }
    }
    return escaped;
}

// Tells the user, with the first dialog tool the desktop has, that the program was not started
// on `folder` (a shell word); xmessage cannot draw Japanese, so it gets the text in English. The
// file manager's log gets it last, since writing to a closed log ends the shell.
QByteArray NotStarted(const QByteArray& folder) {
    return "m=\"Quillet を起動しませんでした。「" + folder +
           "」はフォルダではないか、ファイル マネージャーから名前を正しく受け取れませんでした。\"; "
           "if command -v kdialog >/dev/null; then kdialog --title Quillet --sorry \"$m\"; "
           "elif command -v zenity >/dev/null; then "
           "zenity --warning --title=Quillet --no-markup --text=\"$m\"; "
           "else xmessage -center \"Quillet was not started: \\\"" +
           folder +
           "\\\" is not a folder, or the file manager could not pass its name exactly.\"; fi; "
           "printf '%s\\n' \"$m\" >&2";
}

// Nautilus and Caja parse the command line they build for a script as a desktop entry's Exec
// value, so a "%" in a name is lost from the arguments; the list of plain paths cannot tell a
// line break in a name from the next path. The URIs carry every byte, and a backslash only as
// "%5C": a raw one would be taken by printf.
constexpr char kSelectionScript[] = R"(#!/bin/sh
# Starts Quillet on the first selected item, or on the folder shown when nothing is selected.
nl='
'
uri=${@PREFIX@_SCRIPT_SELECTED_URIS%%"$nl"*}
[ -n "$uri" ] || uri=$@PREFIX@_SCRIPT_CURRENT_URI
folder=$uri
case $uri in
*\\*) ;;
file:///*)
  # Each "%XX" becomes an octal escape for printf, which turns them all back into bytes.
  set -f
  IFS=%
  set -- ${uri#file://}
  unset IFS
  escaped=$1
  shift
  for part; do
    case $part in
    [0-9A-Fa-f][0-9A-Fa-f]*)
      byte=$((0x${part%"${part#??}"}))
      escaped=$escaped\\0$((byte / 64))$((byte / 8 % 8))$((byte % 8))${part#??} ;;
    *) escaped=$escaped%$part ;;
    esac
  done
  folder=$(printf '%bx' "$escaped")
  folder=${folder%x}
  if [ -d "$folder" ]; then exec @PROGRAM@ "$folder"; fi ;;
esac
@NOT_STARTED@
)";

// An argument of a desktop entry's Exec key. First the quoting of the command line: inside double
// quotes, '"', '`', '$' and the backslash take a backslash, and '%' is doubled so it is no field
// code. Then the escaping of a string value, which doubles every backslash and spells out line
// breaks.
QByteArray ExecArgument(const QByteArray& argument) {
    QByteArray quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    quoted += '"';
    return KeyFileValue(quoted);
}

// The file managers look up the first word of the command before they turn "%%" back into "%",
// and read a desktop entry only when it is UTF-8; so the shell comes first, and the program's
// path follows as printable text that printf turns back into its bytes, as "$p".
QByteArray ShellRunning(const QByteArray& script, const QByteArray& program,
                        const char* fieldCode) {
    return "/bin/sh -c " + ExecArgument("p=$(printf '%bx' \"$0\"); p=${p%x}; " + script) + ' ' +
           ExecArgument(PrintfEscaped(program)) + ' ' + fieldCode;
}

}  // namespace

QByteArray ShellExec(const QByteArray& program, const char* fieldCode, ReplacedNames replaced) {
    const QByteArray start = "if [ -d \"$1\" ]; then exec \"$p\" \"$1\"; fi";
    QByteArray script;
    if (replaced == ReplacedNames::Refused)
        script += "case $1 in *\xEF\xBF\xBD*) ;; *) " + start + " ;; esac; ";
    else
        script += start + "; ";
    return ShellRunning(script + NotStarted("$1"), program, fieldCode);
}

QByteArray ShellExecPassingOn(const QByteArray& program, const char* fieldCode) {
    return ShellRunning("exec \"$p\" \"$@\"", program, fieldCode);
}

QByteArray SelectionScript(const QByteArray& program, const QByteArray& prefix) {
    return QByteArray(kSelectionScript)
        .replace("@PREFIX@", prefix)
        .replace("@NOT_STARTED@", NotStarted("$folder"))
        .replace("@PROGRAM@", ShellWord(program));
}

}  // namespace quillet
