#include "rename/rename_preview.h"

#include <algorithm>

#include "platform/case_detour_name.h"
#include "rename/plain_file_name.h"

namespace quillet {

namespace {

// A chain of renames each waiting on the next is followed this far; beyond it the preview
// says nothing rather than guess.
constexpr int kMaxDepth = 2000;
constexpr qsizetype kNameMax = 255;

QString shown(const QByteArray& name) {
    return QString::fromUtf8(name);
}

}  // namespace

RenamePreview::RenamePreview(const Form1& form, FileSystem& files) : m_form(form), m_files(files) {}

void RenamePreview::index() {
    if (m_indexed) return;
    m_indexed = true;
    const ListView& list = m_form.LV;
    const int rows = list.rowCount();
    m_listed.reserve(rows);
    for (int row = 1; row <= rows; ++row) {
        const ListRow& item = list.row(row);
        m_listed.insert(item.rawName, true);
        if (!item.checked) continue;
        const QByteArray to = item.subItems[sub::NewName - 1].toUtf8();
        const int number = static_cast<int>(m_moves.size());
        m_moves.push_back({row, item.rawName, to, IsPlainFileName(to)});
        m_touching[item.rawName].push_back(number);
        if (to != item.rawName) m_touching[to].push_back(number);
    }
}

bool RenamePreview::existsInitially(const QByteArray& name) {
    if (m_listed.contains(name)) return true;
    const auto known = m_onDisk.constFind(name);
    if (known != m_onDisk.constEnd()) return known.value();
    QByteArray path = m_form.File1.path();
    if (!path.endsWith('/')) path += '/';
    const bool found = m_files.attributes(path + name).has_value();
    m_onDisk.insert(name, found);
    return found;
}

bool RenamePreview::succeeds(const Move& move, int depth) {
    const int number = static_cast<int>(&move - m_moves.data());
    const auto known = m_outcome.constFind(number);
    if (known != m_outcome.constEnd()) return known.value();
    // A rename onto its own name is refused like any rename onto an existing file.
    const bool ok = move.plain && move.to != move.from && !existsBefore(move.to, number, depth + 1);
    // An answer reached after giving up is not one to remember.
    if (!m_gaveUp) m_outcome.insert(number, ok);
    return ok;
}

bool RenamePreview::existsBefore(const QByteArray& name, int moveNumber, int depth) {
    if (depth > kMaxDepth) {
        m_gaveUp = true;
        return false;
    }
    bool present = existsInitially(name);
    const auto touching = m_touching.constFind(name);
    if (touching == m_touching.constEnd()) return present;
    for (const int earlier : touching.value()) {
        if (earlier >= moveNumber) break;
        const Move& move = m_moves[static_cast<size_t>(earlier)];
        if (!succeeds(move, depth)) continue;
        if (move.from == name) present = false;
        if (move.to == name) present = true;
    }
    return present;
}

int RenamePreview::renamedInto(const QByteArray& name, int moveNumber) {
    int holder = 0;
    const auto touching = m_touching.constFind(name);
    if (touching == m_touching.constEnd()) return 0;
    for (const int earlier : touching.value()) {
        if (earlier >= moveNumber) break;
        const Move& move = m_moves[static_cast<size_t>(earlier)];
        if (!succeeds(move, 0)) continue;
        if (move.to == name) holder = move.row;
        if (move.from == name) holder = 0;
    }
    return holder;
}

QString RenamePreview::problem(int row) {
    // A file the program itself parked under a detour name, whose old name is taken now.
    if (row >= 1 && row <= m_form.LV.rowCount()) {
        if (const auto original = caseDetourOriginal(m_form.LV.row(row).rawName))
            return QStringLiteral(
                       "大文字と小文字だけを変える名前の変更が途中で止まったファイルです。元の名前"
                       "「%1」は別のファイルが使っているので、この名前のまま残してあります")
                .arg(shown(*original));
    }
    if (m_form.Check6.value() != 0) return {};
    if (row < 1 || row > m_form.LV.rowCount() || !m_form.LV.row(row).checked) return {};
    index();
    const auto found =
        std::lower_bound(m_moves.begin(), m_moves.end(), row,
                         [](const Move& move, int wanted) { return move.row < wanted; });
    if (found == m_moves.end() || found->row != row) return {};
    const Move& move = *found;
    const int number = static_cast<int>(found - m_moves.begin());

    if (move.to.isEmpty())
        return QStringLiteral("新しい名前が空なので、このファイルの名前は変わりません");
    if (move.to == "." || move.to == "..")
        return QStringLiteral("「%1」はファイル名に使えないので、このファイルの名前は変わりません")
            .arg(shown(move.to));
    if (move.to.contains('/'))
        return QStringLiteral(
            "新しい名前に「/」が含まれているので、このファイルの名前は変わりません");
    if (move.to.contains('\0'))
        return QStringLiteral(
            "新しい名前に使えない文字が含まれているので、このファイルの名前は変わりません");
    if (move.to.size() > kNameMax)
        return QStringLiteral(
                   "新しい名前が長すぎる（%1 バイト、上限 %2 "
                   "バイト）ので、このファイルの名前は変わりません")
            .arg(move.to.size())
            .arg(kNameMax);
    if (move.to == move.from) return {};

    m_gaveUp = false;
    const bool taken = existsBefore(move.to, number, 0);
    if (m_gaveUp || !taken) return {};
    if (const int holder = renamedInto(move.to, number))
        return QStringLiteral(
                   "%1 行目のファイルが先に「%2」になるので、このファイルの名前は変わりません")
            .arg(holder)
            .arg(shown(move.to));
    if (m_listed.contains(move.to))
        return QStringLiteral(
                   "「%"
                   "1」は一覧にある別のファイルの名前で、そのファイルはこれより先に名前が変わらない"
                   "ので、このファイルの名前は変わりません")
            .arg(shown(move.to));
    return QStringLiteral(
               "「%"
               "1」という名前のファイルがフォルダに既にあるので、このファイルの名前は変わりません")
        .arg(shown(move.to));
}

}  // namespace quillet
