#include "rename/plain_file_name.h"

namespace quillet {

bool IsPlainFileName(const QByteArray& name) {
    constexpr qsizetype kNameMax = 255;
    return !name.isEmpty() && name != "." && name != ".." && !name.contains('/') &&
           !name.contains('\0') && name.size() <= kNameMax;
}

}  // namespace quillet
