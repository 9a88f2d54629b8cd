#include "app/exit_paths.h"

#include "rename/rename_execution.h"

namespace quillet {

ExitPaths::ExitPaths(Platform& platform) : m_platform(platform) {}

void ExitPaths::Command2_Click() {
    WriteHandshake(m_platform.settings);
    m_platform.process.endNow();
}

// Closing is never cancelled: both stages write, and the window then goes.
void ExitPaths::Form_QueryUnload() {
    WriteHandshake(m_platform.settings);
}

void ExitPaths::Form_Unload() {
    WriteHandshake(m_platform.settings);
}

}  // namespace quillet
