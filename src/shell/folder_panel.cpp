#include "shell/folder_panel.h"

#include <QFile>

#include "ui/form1.h"

namespace quillet {

QString BrowseForFolderByPath(FolderPicker& picker, const QString& initialFolder) {
    return picker.pickFolder(QStringLiteral("開くフォルダを指定してください。"), initialFolder);
}

FolderPanel::FolderPanel(Form1& form, Platform& platform, WindowMethods& window)
    : m_form(form), m_platform(platform), m_window(window) {}

void FolderPanel::SBar_MouseDown(int, int, float, float) {
    if (!IsStandardMode(m_form)) m_form.SBar.setPanelBevel(1, Bevel::Inset);
}

void FolderPanel::SBar_MouseUp(int, int, float, float) {
    if (!IsStandardMode(m_form)) m_form.SBar.setPanelBevel(1, Bevel::Raised);
}

void FolderPanel::SBar_Click() {
    if (IsStandardMode(m_form)) return;
    const QString chosen =
        BrowseForFolderByPath(m_platform.folderPicker, m_form.SBar.panel(1).text);
    if (chosen.isEmpty()) return;

    // Renames are made in the listed folder, and the current directory must be that same
    // folder: a folder that cannot be both listed and entered is not switched to at all.
    const QByteArray folder = QFile::encodeName(chosen);
    const QByteArray previous = m_form.File1.path();
    if (!m_form.File1.setPath(folder)) return;
    if (!m_platform.files.setCurrentDirectory(folder)) {
        m_form.File1.setPath(previous);
        return;
    }
    m_form.SBar.setPanelText(1, chosen);
    m_window.RebuildFileList();
}

}  // namespace quillet
