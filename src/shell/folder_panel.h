#pragma once

#include "platform/platform.h"
#include "ui/form1.h"
#include "ui/window_methods.h"

namespace quillet {

// In extended mode the status bar's folder panel works as a button that opens the folder
// dialog; the chosen folder becomes the listed one and the current directory.
class FolderPanel {
  public:
    FolderPanel(Form1& form, Platform& platform, WindowMethods& window);

    void SBar_MouseDown(int button, int shift, float x, float y);
    void SBar_MouseUp(int button, int shift, float x, float y);
    void SBar_Click();

  private:
    Form1& m_form;
    Platform& m_platform;
    WindowMethods& m_window;
};

// The folder dialog, opened on the given folder; the chosen path or the empty text.
QString BrowseForFolderByPath(FolderPicker& picker, const QString& initialFolder);

}  // namespace quillet
