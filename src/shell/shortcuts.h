#pragma once

#include "platform/platform.h"
#include "ui/form1.h"

namespace quillet {

// The program's launchers on the desktop and in the places from which file managers offer a
// program for a selected folder. The tool-bar buttons show and change whether they exist.
class Shortcuts {
  public:
    Shortcuts(Form1& form, Platform& platform);

    // At start-up: a button is pressed when its launcher file already exists.
    void DetectExisting();
    void Toolbar1_ButtonClick(int button);

  private:
    bool sendToExists();
    void createSendTo(const QByteArray& program);
    void removeSendTo();
    void removeEarlierSendTo();

    Form1& m_form;
    Platform& m_platform;
};

}  // namespace quillet
