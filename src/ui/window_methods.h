#pragma once

#include <QString>

namespace quillet {

// The main window's public methods, through which one subsystem asks another to act.
class WindowMethods {
  public:
    virtual ~WindowMethods() = default;
    virtual void RebuildFileList() = 0;
    virtual void Text_Change() = 0;
    virtual QString RndName(int count) = 0;
    virtual void Check1_Click() = 0;
};

}  // namespace quillet
