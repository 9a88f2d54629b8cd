#include "preview/rename_preview.h"

#include "platform/case_detour_name.h"
#include "rename/rename_pass.h"
#include "util/file_name_text.h"

namespace quillet {

QString RenameProblemText(const ListRow& row) {
    const QString to = ReadableFileName(row.newName);
    switch (row.mark.problem) {
        case RenameProblem::None:
            return {};
        case RenameProblem::EmptyName:
            return QStringLiteral("新しい名前が空なので、このファイルの名前は変わりません");
        case RenameProblem::ReservedName:
            return QStringLiteral(
                       "「%1」はファイル名に使えないので、このファイルの名前は変わりません")
                .arg(to);
        case RenameProblem::Slash:
            return QStringLiteral(
                "新しい名前に「/」が含まれているので、このファイルの名前は変わりません");
        case RenameProblem::ForbiddenCharacter:
            return QStringLiteral(
                "新しい名前に使えない文字が含まれているので、このファイルの名前は変わりません");
        case RenameProblem::TooLong:
            return QStringLiteral(
                       "新しい名前が長すぎる（%1 バイト、上限 %2 "
                       "バイト）ので、このファイルの名前は変わりません")
                .arg(NewNameBytes(row).size())
                .arg(kMaxNameBytes);
        case RenameProblem::TakenByEarlierRename:
            return QStringLiteral(
                       "%1 行目のファイルが先に「%2」になるので、このファイルの名前は変わりません")
                .arg(row.mark.holder)
                .arg(to);
        case RenameProblem::TakenByListedFile:
            return QStringLiteral(
                       "「%"
                       "1」は一覧にある別のファイルの名前で、そのファイルはこれより先に名前が変わ"
                       "らないので、このファイルの名前は変わりません")
                .arg(to);
        case RenameProblem::TakenInFolder:
            return QStringLiteral(
                       "「%"
                       "1」という名前のファイルがフォルダに既にあるので、このファイルの名前は変"
                       "わりません")
                .arg(to);
    }
    return {};
}

QString KeptNamesText(int count) {
    if (count == 0) return {};
    return QStringLiteral("チェックしたファイルのうち %1 個は、実行しても名前が変わりません")
        .arg(count);
}

QString RowToolTipText(const Form1& form, int row) {
    // A file the program itself parked under a detour name, whose old name is taken now.
    if (row >= 1 && row <= form.LV.rowCount()) {
        if (const auto original = CaseDetourOriginal(form.LV.row(row).rawName))
            return QStringLiteral(
                       "大文字と小文字だけを変える名前の変更が途中で止まったファイルです。元の名前"
                       "「%1」は別のファイルが使っているので、この名前のまま残してあります")
                .arg(ReadableFileName(FileNameText(*original)));
    }
    if (form.Check6.value() != 0) return {};
    if (row < 1 || row > form.LV.rowCount() || !form.LV.row(row).checked) return {};
    return RenameProblemText(form.LV.row(row));
}

}  // namespace quillet
