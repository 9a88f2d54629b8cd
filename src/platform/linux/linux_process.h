#pragma once

#include "platform/process.h"

namespace quillet {

class LinuxProcess : public Process {
  public:
    LinuxProcess(int argc, char** argv);

    QByteArray commandLine() override;
    QByteArray programFolder() override;
    [[noreturn]] void endNow() override;

  private:
    QByteArray m_commandLine;
    QByteArray m_programPath;
};

}  // namespace quillet
