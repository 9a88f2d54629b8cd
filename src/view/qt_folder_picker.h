#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/folder_picker.h"

namespace quillet {

// The folder dialog, modal over the main window.
class QtFolderPicker : public FolderPicker {
  public:
    void attach(QWidget* owner) { m_owner = owner; }

    QString pickFolder(const QString& title, const QString& initialFolder) override;

  private:
    QPointer<QWidget> m_owner;
};

}  // namespace quillet
