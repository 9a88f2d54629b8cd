#include "shell/folder_problem.h"

#include <QFile>

namespace quillet {

QString FolderProblem(const Form1& form, FileSystem& files) {
    const QString asked = form.SBar.panel(1).text;
    const QByteArray listed = form.File1.path();
    if (QFile::encodeName(asked) == listed) return {};
    const QString instead = QString::fromUtf8(listed);
    if (!files.isDirectory(QFile::encodeName(asked)))
        return QStringLiteral("フォルダ「%1」が見つかりません。一覧は「%2」のファイルです")
            .arg(asked, instead);
    return QStringLiteral(
               "フォルダ「%1」を読めません（アクセス権がありません）。一覧は「%2」のファイルです")
        .arg(asked, instead);
}

}  // namespace quillet
