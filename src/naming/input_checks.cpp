#include "naming/input_checks.h"

namespace quillet {

bool HasForbiddenCharacter(const QString& text) {
    static const QString forbidden = QStringLiteral("\\/:,;*?\"<>|");
    for (const QChar c : text) {
        if (forbidden.contains(c)) return true;
    }
    return false;
}

InputChecks::InputChecks(Form1& form, UserFeedback& feedback, WindowMethods& window)
    : m_form(form), m_feedback(feedback), m_window(window) {}

void InputChecks::Text1_Change() {
    if (m_form.Text1.text().isEmpty() && m_form.Text2.text().isEmpty()) {
        m_feedback.beep();
        m_feedback.setFocus(m_form.Text1.name());
        m_form.Command1.setEnabled(false);
        return;
    }
    if (HasForbiddenCharacter(m_form.Text1.text())) {
        m_feedback.messageBox(QStringLiteral("ファイル名に「 \\/:,;*?\"<>| 」は使えません"),
                              QStringLiteral("ファイル名エラー"), MessageIcon::Stop,
                              MessageButtons::Ok);
        m_feedback.setFocus(m_form.Text1.name());
        m_form.Command1.setEnabled(false);
        return;
    }
    m_window.Text_Change();
}

void InputChecks::Check1_Click() {
    m_window.Text_Change();
    if (m_form.LV.rowCount() < 2 || !m_form.Check1.isOn()) return;
    if (!neighboursShareAName() || m_form.Check6.isOn()) return;
    m_feedback.messageBox(QStringLiteral("同じファイル名が生成されるため、元値指定を解除します"),
                          QStringLiteral("ファイル名エラー"), MessageIcon::Exclamation,
                          MessageButtons::Ok);
    // Clearing the box raises its click, which recomputes with the counter again.
    m_form.Check1.setValue(0);
}

bool InputChecks::neighboursShareAName() const {
    const auto& LV = m_form.LV;
    const QString* previous = nullptr;
    for (int i = 1; i <= LV.rowCount(); ++i) {
        const ListRow& row = LV.row(i);
        if (!row.checked) continue;
        const QString& name = row.newName;
        if (previous && *previous == name) return true;
        previous = &name;
    }
    return false;
}

}  // namespace quillet
