#include "shell/launcher_forms.h"

#include "shell/launch_commands.h"

namespace quillet {

// A double click starts the program on its own, a folder dropped on the launcher starts it there.
LauncherFile DesktopLauncher(const QByteArray& program) {
    return {"Quillet.desktop",
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Quillet\n"
            "Exec=" +
                ShellExecPassingOn(program, "%f") + "\n",
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
                        ShellExec(program, "%f", ReplacedNames::Kept) +
                        "\n"
                        "MimeType=inode/directory;\n",
                    0644};
        case LauncherForm::DolphinServiceMenu:
            // KDE loads a service menu of the user's only when it is executable. Dolphin
            // passes a name that is not UTF-8 with U+FFFD in place of its bytes.
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
                        ShellExec(program, "%f", ReplacedNames::Refused) + "\n",
                    0755};
        case LauncherForm::NautilusScript:
            return {"Quillet", SelectionScript(program, "NAUTILUS"), 0755};
        case LauncherForm::CajaScript:
            return {"Quillet", SelectionScript(program, "CAJA"), 0755};
        case LauncherForm::NemoAction:
            // Without Quote=single Nemo escapes a line break in a name into something else.
            return {"quillet.nemo_action",
                    "[Nemo Action]\n"
                    "Name=Quillet\n"
                    "Exec=" +
                        ShellExec(program, "%F", ReplacedNames::Kept) +
                        "\n"
                        "Selection=s\n"
                        "Extensions=dir;\n"
                        "Quote=single\n",
                    0644};
    }
    return {};
}

}  // namespace quillet
