#include "rename/plain_file_name.h"

#include <cstring>

#include "platform/file_system.h"

namespace quillet {

RenameProblem RefusalOf(QByteArrayView name) {
    if (name.isEmpty()) return RenameProblem::EmptyName;
    if (name == "." || name == "..") return RenameProblem::ReservedName;
    const auto size = static_cast<std::size_t>(name.size());
    if (std::memchr(name.data(), '/', size)) return RenameProblem::Slash;
    if (std::memchr(name.data(), '\0', size)) return RenameProblem::ForbiddenCharacter;
    if (name.size() > kMaxNameBytes) return RenameProblem::TooLong;
    return RenameProblem::None;
}

}  // namespace quillet
