#include "support/faulty_calls.h"

#include <unistd.h>

#include <cerrno>
#include <memory>

namespace quillet::test {

namespace {

struct Shared {
    CallDecision decide;
    CallCounts& counts;

    // Runs `real` unless the decision says otherwise; a result below zero is a failure.
    template <typename Real>
    int apply(Call call, const char* from, const char* to, Real real) {
        ++counts.calls;
        const CallFault fault = decide ? decide(call, from, to) : CallFault{};
        if (fault.kind == CallFault::Kind::Fail) {
            ++counts.failed;
            errno = fault.error;
            return -1;
        }
        const int result = real();
        if (fault.kind == CallFault::Kind::DoneButReported && result >= 0) {
            ++counts.doneButReported;
            if (call == Call::CreateExclusive) ::close(result);
            errno = fault.error;
            return -1;
        }
        return result;
    }
};

}  // namespace

const char* CallName(Call call) {
    switch (call) {
        case Call::RenameNoReplace:
            return "renameat2";
        case Call::Link:
            return "linkat";
        case Call::Unlink:
            return "unlinkat";
        case Call::Rename:
            return "renameat";
        case Call::CreateExclusive:
            return "openat";
    }
    return "?";
}

RenameCalls FaultyRenameCalls(CallDecision decide, CallCounts& counts) {
    const auto shared = std::make_shared<Shared>(Shared{std::move(decide), counts});
    const RenameCalls& real = SystemRenameCalls();
    RenameCalls calls;
    calls.renameNoReplace = [shared, real](int fd, const char* from, const char* to) {
        return shared->apply(Call::RenameNoReplace, from, to,
                             [&] { return real.renameNoReplace(fd, from, to); });
    };
    calls.link = [shared, real](int fd, const char* from, const char* to) {
        return shared->apply(Call::Link, from, to, [&] { return real.link(fd, from, to); });
    };
    calls.unlink = [shared, real](int fd, const char* name) {
        return shared->apply(Call::Unlink, name, nullptr, [&] { return real.unlink(fd, name); });
    };
    calls.rename = [shared, real](int fd, const char* from, const char* to) {
        return shared->apply(Call::Rename, from, to, [&] { return real.rename(fd, from, to); });
    };
    calls.createExclusive = [shared, real](int fd, const char* name) {
        return shared->apply(Call::CreateExclusive, nullptr, name,
                             [&] { return real.createExclusive(fd, name); });
    };
    return calls;
}

}  // namespace quillet::test
