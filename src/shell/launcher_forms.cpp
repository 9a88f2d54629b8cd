#include "shell/launcher_forms.h"

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

// An argument of a desktop entry's Exec key. First the quoting of the command line: inside
// double quotes, '"', '`', '$' and the backslash take a backslash, and '%' is doubled so it is
// no field code. Then the escaping of a string value, which doubles every backslash and spells
// out line breaks.
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

// Nemo puts the shell-quoted paths in place of %F and splits the line as the shell does;
// "%%" stands for a percent sign. A key file value cannot hold a raw line break.
QByteArray NemoExec(const QByteArray& program) {
    QByteArray line;
    for (const char c : ShellWord(program)) {
        if (c == '%') line += '%';
        line += c;
    }
    return KeyFileValue(line) + " %F";
}

// A script from the Scripts menu gets the selected files as its arguments, relative to the
// current folder in some versions, and their full paths in an environment variable.
QByteArray ScriptLauncher(const QByteArray& program, const QByteArray& selectionVariable) {
    return "#!/bin/sh\n"
           "# Starts Quillet on the selected folder.\n"
           "folder=$1\n"
           "if [ -z \"$folder\" ]; then\n"
           "  folder=$(printf '%s\\n' \"$" +
           selectionVariable +
           "\" | head -n 1)\n"
           "fi\n"
           "[ -n \"$folder\" ] || folder=$PWD\n"
           "case $folder in /*) ;; *) folder=$PWD/$folder ;; esac\n"
           "exec " +
           ShellWord(program) + " \"$folder\"\n";
}

}  // namespace

LauncherFile DesktopLauncher(const QByteArray& program) {
    return {"Quillet.desktop",
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Quillet\n"
            "Exec=" +
                ExecArgument(program) + " %f\n",
            0755};
}

LauncherFile SendToLauncher(LauncherForm form, const QByteArray& program) {
    switch (form) {
        case LauncherForm::ThunarSendTo:
            // The MIME type only chooses the items the Send To menu shows it for; this folder
            // is no source of default applications.
            return {"Quillet.desktop",
                    "[Desktop Entry]\n"
                    "Type=Application\n"
                    "Name=Quillet\n"
                    "Exec=" +
                        ExecArgument(program) +
                        " %f\n"
                        "MimeType=inode/directory;\n",
                    0644};
        case LauncherForm::DolphinServiceMenu:
            // KDE loads a service menu of the user's only when it is executable.
            return {"Quillet.desktop",
                    "[Desktop Entry]\n"
                    "Type=Service\n"
                    "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n"
                    "MimeType=inode/directory;\n"
                    "Actions=quillet;\n"
                    "\n"
                    "[Desktop Action quillet]\n"
                    "Name=Quillet\n"
                    "Exec=" +
                        ExecArgument(program) + " %f\n",
                    0755};
        case LauncherForm::NautilusScript:
            return {"Quillet", ScriptLauncher(program, "NAUTILUS_SCRIPT_SELECTED_FILE_PATHS"),
                    0755};
        case LauncherForm::CajaScript:
            return {"Quillet", ScriptLauncher(program, "CAJA_SCRIPT_SELECTED_FILE_PATHS"), 0755};
        case LauncherForm::NemoAction:
            return {"quillet.nemo_action",
                    "[Nemo Action]\n"
                    "Name=Quillet\n"
                    "Exec=" +
                        NemoExec(program) +
                        "\n"
                        "Selection=s\n"
                        "Extensions=dir;\n",
                    0644};
    }
    return {};
}

}  // namespace quillet
