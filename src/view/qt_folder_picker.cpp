#include "view/qt_folder_picker.h"

#include <QFileDialog>

namespace quillet {

QString QtFolderPicker::pickFolder(const QString& title, const QString& initialFolder) {
    QString folder = QFileDialog::getExistingDirectory(m_owner, title, initialFolder);
    // A root keeps its "/"; any other folder is given without a trailing one.
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/'))) folder.chop(1);
    return folder;
}

}  // namespace quillet
