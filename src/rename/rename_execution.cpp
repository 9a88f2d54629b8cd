#include "rename/rename_execution.h"

#include <cerrno>

#include "rename/rename_pass.h"
#include "ui/form1.h"

namespace quillet {

void WriteHandshake(SettingsStore& settings) {
    settings.write(QStringLiteral("Pixalo"), QStringLiteral("Counter"), QStringLiteral("app"),
                   QStringLiteral("0"));
}

RenameExecution::RenameExecution(Form1& form, Platform& platform, WindowMethods& window)
    : m_form(form), m_platform(platform), m_window(window) {}

void RenameExecution::Command1_Click() {
    const QString question = m_form.Check6.value() == 0
                                 ? QStringLiteral("ファイル名を更新してよろしいですか？")
                                 : QStringLiteral("属性を更新してよろしいですか？");
    const QString prompt = question + QStringLiteral("\n\r実行後は元に戻すことはできません。");
    const MessageAnswer answer = m_platform.feedback.messageBox(
        prompt, QStringLiteral("実行確認"), MessageIcon::Question, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) return;

    m_form.PB1.setValue(0);
    m_form.PB1.setVisible(true);
    if (m_form.Check6.value() == 0) {
        renamePass();
    } else {
        attributePass();
    }
    m_form.PB1.setVisible(false);

    WriteHandshake(m_platform.settings);
    if (IsStandardMode(m_form)) m_platform.process.endNow();
    m_window.RebuildFileList();
}

void RenameExecution::renamePass() {
    auto& LV = m_form.LV;
    const int count = LV.rowCount();
    // Every rename is made inside the listed folder, by the names' raw bytes; a failed one
    // leaves that file as it was and the pass goes on. What each one did is kept, so that the
    // window can tell afterwards without looking at the folder again.
    OpenFolder* const folder = m_form.File1.listedFolder();
    PassReport report;
    report.ran = true;
    PlayRenamePass(
        LV,
        [folder](int, const QByteArray& from, QByteArrayView to) {
            return folder ? folder->renameNoReplace(from, to.toByteArray()) : ENOENT;
        },
        [&](int i, QByteArrayView to, const PassStep& step) {
            if (step.kind != PassStep::Kind::Unchecked) markActed(i);
            if (step.kind == PassStep::Kind::Renamed) ++report.renamed;
            if (step.kind == PassStep::Kind::Refused || step.kind == PassStep::Kind::Failed)
                report.failures.push_back({LV.row(i).rawName, to.toByteArray(), step.error});
            showProgress(i, count);
        });
    LV.setLastPass(std::move(report));
}

void RenameExecution::attributePass() {
    auto& LV = m_form.LV;
    LV.setLastPass({});
    const int count = LV.rowCount();
    std::uint32_t requested = 0;
    if (m_form.Check7[0].isOn()) requested |= attr::ReadOnly;
    if (m_form.Check7[1].isOn()) requested |= attr::Hidden;
    if (m_form.Check7[2].isOn()) requested |= attr::Archive;
    constexpr std::uint32_t managed = attr::ReadOnly | attr::Hidden | attr::Archive;

    OpenFolder* const folder = m_form.File1.listedFolder();
    for (int i = 1; i <= count; ++i) {
        if (LV.row(i).checked) {
            markActed(i);
            const QByteArray& name = LV.row(i).rawName;
            if (folder) {
                if (const auto present = folder->attributes(name))
                    folder->setAttributes(name, (*present & ~managed) | requested);
            }
        }
        showProgress(i, count);
    }
}

void RenameExecution::markActed(int row) {
    m_form.LV.setSelected(row, true);
    m_form.LV.ensureVisible(row);
}

void RenameExecution::showProgress(int done, int total) {
    m_form.PB1.showStep(done, total);
}

}  // namespace quillet
