#pragma once

#include "reliability/folder_snapshot.h"
#include "ui/list_view.h"

namespace quillet::test {

// What a rename pass in list order that never replaces must leave in the folder: each checked
// row's file moves to the name shown in its new-name column when that is a plain name and
// nothing holds it at that moment, and stays where it is otherwise. `entries` are the folder's
// entries by name before the pass. The pass is the program's own, played on the map instead of
// the folder; what a rename does to the map is this model's.
struct PassPrediction {
    Snapshot entries;
    int moved = 0;
    int blocked = 0;  // refused because the new name was taken
};
// `ignoresCase`: the folder finds a name under any letter case, so a name is taken whatever its
// case, and a change of case alone moves a file onto its own entry.
PassPrediction PredictRenamePass(const ListView& list, Snapshot entries, bool ignoresCase = false);

// Empty when every file and link of `before` is found exactly once in `after` and nothing else
// is there; otherwise which ones are missing or doubled.
QString LostOrDoubled(const Snapshot& before, const Snapshot& after);

}  // namespace quillet::test
