#pragma once

#include "platform/platform.h"

namespace quillet {

// The ways the program ends; each tells the companion viewer that the tool is done.
class ExitPaths {
  public:
    explicit ExitPaths(Platform& platform);

    void Command2_Click();
    void Form_QueryUnload();
    void Form_Unload();

  private:
    Platform& m_platform;
};

}  // namespace quillet
