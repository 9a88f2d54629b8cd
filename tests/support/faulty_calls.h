#pragma once

#include <functional>

#include "platform/linux/no_replace_rename.h"

namespace quillet::test {

// The system calls of a rename, each of which a test can turn into a failure.
enum class Call { RenameNoReplace, Link, Unlink, Rename, CreateExclusive };
const char* CallName(Call call);

// What happens to one call: made as it is; refused with `error`, the folder untouched; or
// made and then reported as failed with `error`, as a file system does whose retried request
// finds its own first attempt's work.
struct CallFault {
    enum class Kind { None, Fail, DoneButReported };
    Kind kind = Kind::None;
    int error = 0;
};

using CallDecision = std::function<CallFault(Call call, const char* from, const char* to)>;

struct CallCounts {
    int calls = 0;
    int failed = 0;
    int doneButReported = 0;
};

// The kernel's calls behind `decide`. `counts` must outlive the result.
RenameCalls FaultyRenameCalls(CallDecision decide, CallCounts& counts);

}  // namespace quillet::test
