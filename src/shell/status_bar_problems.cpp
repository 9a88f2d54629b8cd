#include "shell/status_bar_problems.h"

#include <QStringList>

#include "shell/folder_problem.h"

namespace quillet {

QString PassSummaryText(const PassReport& report) {
    if (!report.ran || report.failures.empty()) return {};
    return QStringLiteral("前回の実行では %1 個のファイルの名前が変わりませんでした")
        .arg(report.failures.size());
}

QString StatusBarProblems(const Form1& form, FileSystem& files) {
    QStringList problems;
    const QString folder = FolderProblem(form, files);
    if (!folder.isEmpty()) problems.push_back(folder);
    const QString pass = PassSummaryText(form.LV.lastPass());
    if (!pass.isEmpty()) problems.push_back(pass);
    return problems.join(QLatin1Char('\n'));
}

}  // namespace quillet
