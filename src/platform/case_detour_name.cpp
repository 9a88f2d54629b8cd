#include "platform/case_detour_name.h"

namespace quillet {

namespace {

constexpr char DetourMark[] = "~quillet-case";
constexpr char NoticeMark[] = "~quillet-claim";

QByteArray MarkedName(const QByteArray& original, const char* mark, int attempt) {
    const qsizetype dot = original.lastIndexOf('.');
    const qsizetype split = dot > 0 ? dot : original.size();
    QByteArray name = original.left(split) + mark;
    if (attempt > 0) name += '-' + QByteArray::number(attempt);
    return name + '~' + original.mid(split);
}

std::optional<QByteArray> MarkedOriginal(const QByteArray& name, QByteArrayView mark) {
    // Every listed name passes through here; nearly none holds a tilde, and a plain byte
    // search rules those out long before a search for the whole mark would.
    if (!name.contains('~')) return std::nullopt;
    const qsizetype at0 = name.lastIndexOf(mark);
    if (at0 <= 0) return std::nullopt;
    qsizetype at = at0 + mark.size();
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
    if (extension.isEmpty() && name.left(at0).lastIndexOf('.') > 0) return std::nullopt;
    return name.left(at0) + extension;
}

}  // namespace

QByteArray CaseDetourName(const QByteArray& original, int attempt) {
    return MarkedName(original, DetourMark, attempt);
}

std::optional<QByteArray> CaseDetourOriginal(const QByteArray& name) {
    return MarkedOriginal(name, DetourMark);
}

QByteArray ClaimNoticeName(const QByteArray& claimed) {
    return MarkedName(claimed, NoticeMark, 0);
}

std::optional<QByteArray> ClaimNoticeClaimed(const QByteArray& name) {
    return MarkedOriginal(name, NoticeMark);
}

}  // namespace quillet
