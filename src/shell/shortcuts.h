#pragma once

#include "platform/platform.h"
#include "ui/form1.h"

namespace quillet {

// The program's launchers on the desktop and in the folder from which file managers offer
// programs for a folder. The tool-bar buttons show and change whether each exists.
class Shortcuts {
  public:
    Shortcuts(Form1& form, Platform& platform);

    // At start-up: a button is pressed when its launcher file already exists.
    void DetectExisting();
    void Toolbar1_ButtonClick(int button);

    static QByteArray LauncherContent(const QByteArray& programFolder, bool forFolders);

  private:
    Form1& m_form;
    Platform& m_platform;
};

}  // namespace quillet
