#include "rename/rename_outcome.h"

namespace quillet {

RenameOutcome RenameOutcome::plan(const Form1& form, FileSystem&) {
    RenameOutcome outcome;
    if (form.Check6.value() == 0) outcome.m_list = &form.LV;
    return outcome;
}

int RenameOutcome::leftUnrenamed(FileSystem&, const QByteArray&) const {
    return m_list ? static_cast<int>(m_list->lastPass().failures.size()) : 0;
}

QString PassSummaryText(const PassReport& report) {
    if (!report.ran || report.failures.empty()) return {};
    return QStringLiteral("前回の実行では %1 個のファイルの名前が変わりませんでした")
        .arg(report.failures.size());
}

}  // namespace quillet
