#include "rename/plain_file_name.h"

#include "platform/file_system.h"

namespace quillet {

RenameProblem RefusalOf(const QByteArray& name) {
    if (name.isEmpty()) return RenameProblem::EmptyName;
    if (name == "." || name == "..") return RenameProblem::ReservedName;
    if (name.contains('/')) return RenameProblem::Slash;
    if (name.contains('\0')) return RenameProblem::ForbiddenCharacter;
    if (name.size() > kMaxNameBytes) return RenameProblem::TooLong;
    return RenameProblem::None;
}

}  // namespace quillet
