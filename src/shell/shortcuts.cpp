#include "shell/shortcuts.h"

#include "util/module1.h"

namespace quillet {

namespace {

constexpr int kDesktopFolder = 0;
constexpr int kApplicationsFolder = 9;
const char kLauncherName[] = "/Quillet.desktop";

QString desktopLabel() {
    return QStringLiteral("[デスクトップ]");
}
QString sendToLabel() {
    return QStringLiteral("[送る]");
}
QString createText() {
    return QStringLiteral("にショートカットを作成します");
}
QString deleteText() {
    return QStringLiteral("のショートカットを削除します");
}

// An argument of the Exec key. First the quoting of the command line: inside double quotes,
// '"', '`', '$' and the backslash take a backslash, and '%' is doubled so it is no field code. Then
// the escaping of a string value, which doubles every backslash and spells out line breaks.
QByteArray quotedExecArgument(const QByteArray& argument) {
    QByteArray quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    quoted += '"';

    QByteArray value;
    for (const char c : quoted) {
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

}  // namespace

Shortcuts::Shortcuts(Form1& form, Platform& platform) : m_form(form), m_platform(platform) {}

QByteArray Shortcuts::LauncherContent(const QByteArray& programFolder, bool forFolders) {
    QByteArray content =
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=Quillet\n"
        "Comment=Renames the files of a folder in one pass\n"
        "Exec=" +
        quotedExecArgument(programFolder + "/Quillex") + " %f\n";
    if (forFolders) content += "MimeType=inode/directory;\nNoDisplay=true\n";
    return content;
}

void Shortcuts::DetectExisting() {
    auto& files = m_platform.files;
    const QByteArray desktop =
        GetSpecialFolderPath(m_platform.specialFolders, kDesktopFolder) + kLauncherName;
    const QByteArray applications =
        GetSpecialFolderPath(m_platform.specialFolders, kApplicationsFolder) + kLauncherName;
    if (files.modifiedSeconds(desktop)) {
        m_form.Toolbar1.setButtonValue(1, 1);
        m_form.Toolbar1.setButtonToolTip(1, desktopLabel() + deleteText());
    }
    if (files.modifiedSeconds(applications)) {
        m_form.Toolbar1.setButtonValue(2, 1);
        m_form.Toolbar1.setButtonToolTip(2, sendToLabel() + deleteText());
    }
}

void Shortcuts::Toolbar1_ButtonClick(int button) {
    const bool isDesktop = m_form.Toolbar1.button(button).caption == QStringLiteral("Desktop");
    const QByteArray folder = GetSpecialFolderPath(
        m_platform.specialFolders, isDesktop ? kDesktopFolder : kApplicationsFolder);
    const QString label = isDesktop ? desktopLabel() : sendToLabel();
    const QByteArray launcher = folder + kLauncherName;

    if (m_form.Toolbar1.button(button).value == 1) {
        // Failures stay quiet: the button still offers removal.
        const QByteArray content = LauncherContent(m_platform.process.programFolder(), !isDesktop);
        m_platform.files.writeFile(launcher, content, isDesktop ? 0755 : 0644);
        m_form.Toolbar1.setButtonToolTip(button, label + deleteText());
    } else {
        m_platform.files.removeFile(launcher);
        m_form.Toolbar1.setButtonToolTip(button, label + createText());
    }
}

}  // namespace quillet
