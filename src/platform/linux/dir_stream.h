#pragma once

#include <dirent.h>

namespace quillet {

// A stream over the entries of the folder `dirFd` on a descriptor of its own: reading moves a
// descriptor's position, and closing the stream closes its descriptor. Null when the folder
// cannot be read.
DIR* OpenDirStream(int dirFd);

}  // namespace quillet
