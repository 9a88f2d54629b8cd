#include "support/unprivileged.h"

#include <grp.h>
#include <unistd.h>

namespace quillet::test {

bool DropRootPrivileges() {
    if (::geteuid() != 0) return true;
    constexpr uid_t kNobody = 65534;
    return ::setgroups(0, nullptr) == 0 && ::setresgid(kNobody, kNobody, kNobody) == 0 &&
           ::setresuid(kNobody, kNobody, kNobody) == 0;
}

}  // namespace quillet::test
