#include "platform/linux/dir_stream.h"

#include <fcntl.h>
#include <unistd.h>

namespace quillet {

DIR* OpenDirStream(int dirFd) {
    const int fd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) ::close(fd);
    return dir;
}

}  // namespace quillet
