#include "shell/shortcuts.h"

#include "platform/module1.h"
#include "shell/launcher_forms.h"

namespace quillet {

namespace {

constexpr int kDesktopFolder = 0;

QString DesktopLabel() {
    return QStringLiteral("[デスクトップ]");
}
QString SendToLabel() {
    return QStringLiteral("[送る]");
}
QString CreateText() {
    return QStringLiteral("にショートカットを作成します");
}
QString DeleteText() {
    return QStringLiteral("のショートカットを削除します");
}

}  // namespace

Shortcuts::Shortcuts(Form1& form, Platform& platform) : m_form(form), m_platform(platform) {}

void Shortcuts::DetectExisting() {
    const QByteArray folder = GetSpecialFolderPath(m_platform.specialFolders, kDesktopFolder);
    if (!folder.isEmpty() &&
        m_platform.files.modifiedSeconds(folder + '/' + DesktopLauncher({}).name)) {
        m_form.Toolbar1.setButtonValue(1, 1);
        m_form.Toolbar1.setButtonToolTip(1, DesktopLabel() + DeleteText());
    }
    if (sendToExists()) {
        m_form.Toolbar1.setButtonValue(2, 1);
        m_form.Toolbar1.setButtonToolTip(2, SendToLabel() + DeleteText());
    }
}

void Shortcuts::Toolbar1_ButtonClick(int button) {
    const bool isDesktop = m_form.Toolbar1.button(button).caption == QStringLiteral("Desktop");
    const QString label = isDesktop ? DesktopLabel() : SendToLabel();
    const bool create = m_form.Toolbar1.button(button).value == 1;
    const QByteArray program = m_platform.process.programFolder() + "/Quillex";
    auto& folders = m_platform.specialFolders;

    // Failures stay quiet: the button shows what was asked for.
    if (isDesktop) {
        const QByteArray folder = GetSpecialFolderPath(folders, kDesktopFolder);
        const LauncherFile launcher = DesktopLauncher(program);
        const QByteArray path = folder + '/' + launcher.name;
        // An unknown desktop folder is no reason to touch "/".
        if (!folder.isEmpty() && !create) {
            m_platform.files.removeFile(path);
        } else if (!folder.isEmpty() && folders.makeFolder(folder) &&
                   m_platform.files.writeFile(path, launcher.content, launcher.mode)) {
            folders.markTrusted(path);
        }
    } else if (create) {
        createSendTo(program);
    } else {
        removeSendTo();
    }
    m_form.Toolbar1.setButtonToolTip(button, label + (create ? DeleteText() : CreateText()));
}

bool Shortcuts::sendToExists() {
    if (!m_platform.specialFolders.earlierSendToLauncher().isEmpty()) return true;
    for (const LauncherPlace& place : m_platform.specialFolders.sendToPlaces()) {
        const QByteArray path = place.folder + '/' + SendToLauncher(place.form, {}).name;
        if (m_platform.files.modifiedSeconds(path)) return true;
    }
    return false;
}

// The launcher that earlier versions put among the applications made the program the opener
// of folders; it gives way to the file managers' own forms.
void Shortcuts::removeEarlierSendTo() {
    const QByteArray earlier = m_platform.specialFolders.earlierSendToLauncher();
    if (!earlier.isEmpty()) m_platform.files.removeFile(earlier);
}

void Shortcuts::createSendTo(const QByteArray& program) {
    removeEarlierSendTo();
    for (const LauncherPlace& place : m_platform.specialFolders.sendToPlaces()) {
        const LauncherFile launcher = SendToLauncher(place.form, program);
        if (!m_platform.specialFolders.makeFolder(place.folder)) continue;
        m_platform.files.writeFile(place.folder + '/' + launcher.name, launcher.content,
                                   launcher.mode);
    }
}

void Shortcuts::removeSendTo() {
    removeEarlierSendTo();
    for (const LauncherPlace& place : m_platform.specialFolders.sendToPlaces()) {
        m_platform.files.removeFile(place.folder + '/' + SendToLauncher(place.form, {}).name);
    }
}

}  // namespace quillet
