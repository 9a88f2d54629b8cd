#include "platform/case_detour_name.h"

namespace quillet {

namespace {

constexpr char DetourMark[] = "~quillet-case";

}  // namespace

QByteArray caseDetourName(const QByteArray& original, int attempt) {
    const qsizetype dot = original.lastIndexOf('.');
    const qsizetype split = dot > 0 ? dot : original.size();
    QByteArray name = original.left(split) + DetourMark;
    if (attempt > 0) name += '-' + QByteArray::number(attempt);
    return name + '~' + original.mid(split);
}

std::optional<QByteArray> caseDetourOriginal(const QByteArray& name) {
    // Every listed name passes through here; nearly none holds a tilde, and a plain byte
    // search rules those out long before a search for the whole mark would.
    if (!name.contains('~')) return std::nullopt;
    const qsizetype mark = name.lastIndexOf(DetourMark);
    if (mark <= 0) return std::nullopt;
    qsizetype at = mark + qsizetype(sizeof(DetourMark) - 1);
    if (at < name.size() && name[at] == '-') {
        const qsizetype digits = ++at;
        while (at < name.size() && name[at] >= '0' && name[at] <= '9') ++at;
        if (at == digits || name[digits] == '0') return std::nullopt;
    }
    if (at >= name.size() || name[at] != '~') return std::nullopt;
    const QByteArray extension = name.mid(at + 1);
    // What follows is the old name's extension as it was split off, or nothing.
    if (!extension.isEmpty() && (extension[0] != '.' || extension.lastIndexOf('.') != 0)) {
        return std::nullopt;
    }
    if (extension.isEmpty() && name.left(mark).lastIndexOf('.') > 0) return std::nullopt;
    return name.left(mark) + extension;
}

}  // namespace quillet
