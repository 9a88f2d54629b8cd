#pragma once

namespace quillet {

// The program-wide values that live outside the controls.
struct ProgramState {
    // While true, the naming pass returns at once: set while code fills several controls,
    // so that their change events do not compute names from half-built state.
    bool SuppressNaming = false;
    // Seed of the random prefix letters; taken from the time of day at every list rebuild.
    double RandomSeed = 0;
    // The tab that was selected before the user's latest change of tab (1-based, 0: none).
    int SavedTabIndex = 0;
};

}  // namespace quillet
