#pragma once

namespace quillet::test {

// Gives up root in the calling process (meant for a forked test child), so that permissions
// apply to it as they do to a user. A process that is not root keeps what it has.
bool DropRootPrivileges();

}  // namespace quillet::test
