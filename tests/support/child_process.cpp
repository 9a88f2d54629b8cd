#include "support/child_process.h"

#include <sys/wait.h>
#include <unistd.h>

namespace quillet::test {

pid_t StartChildOnceReady(const std::function<void(const std::function<void()>& ready)>& work) {
    int ready[2];
    if (::pipe(ready) != 0) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        work([&] {
            if (::write(ready[1], "!", 1) != 1) ::_exit(2);
        });
        ::_exit(0);
    }
    ::close(ready[1]);
    char byte = 0;
    const bool started = child > 0 && ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
    if (!started) {
        if (child > 0) ::waitpid(child, nullptr, 0);
        return -1;
    }
    return child;
}

}  // namespace quillet::test
