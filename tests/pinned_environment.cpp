// Pins the environment that results depend on, whichever way the test program is started.
#include <stdlib.h>
#include <time.h>

namespace {

struct PinnedEnvironment {
    PinnedEnvironment() {
        setenv("TZ", "UTC", 1);
        setenv("LANG", "C.UTF-8", 1);
        setenv("LC_ALL", "C.UTF-8", 1);
        tzset();
    }
};

const PinnedEnvironment pinned;

}  // namespace
