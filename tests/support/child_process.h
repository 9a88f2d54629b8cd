#pragma once

#include <sys/types.h>

#include <functional>

namespace quillet::test {

// Runs `work` in a child process of its own and returns the child's id once `work` has called
// the `ready` it is given, so that the caller may kill it at a chosen moment after; -1 when the
// child ended before. The child ends when `work` returns.
pid_t StartChildOnceReady(const std::function<void(const std::function<void()>& ready)>& work);

}  // namespace quillet::test
