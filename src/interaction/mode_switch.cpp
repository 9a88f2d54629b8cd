#include "interaction/mode_switch.h"

#include "filelist/sort_filter_controls.h"

namespace quillet {

ModeSwitch::ModeSwitch(Form1& form, ProgramState& state, SortFilterControls& sortFilter)
    : m_form(form), m_state(state), m_sortFilter(sortFilter) {}

void ModeSwitch::Command3_Click() {
    if (IsStandardMode(m_form)) {
        enterExtendedMode();
    } else {
        returnToStandardMode();
    }
}

// The caption changes first, so that the tab handling run by the tab selection below already
// sees the new mode.
void ModeSwitch::enterExtendedMode() {
    Form1& f = m_form;
    f.Command3.setCaption(QStringLiteral("標準"));
    f.Command3.setToolTip(QStringLiteral("標準の機能に戻します"));
    f.Text4.setVisible(true);
    f.Text3.setReadOnly(false);
    f.SBar.setPanelBevel(1, Bevel::Raised);
    // The folder panel works as a button now; it looks and says so.
    f.SBar.setMousePointer(MousePointer::Hand);
    f.SBar.setToolTip(QStringLiteral("クリックで開くフォルダを指定します"));
    f.TabStrip1.select(3);
    f.Command1.setCaption(QStringLiteral("実行"));
    f.Command2.setCaption(QStringLiteral("キャンセル／終了"));
    f.Command1.setToolTip(QStringLiteral("処理を実行します"));
    f.form.refresh();
    m_sortFilter.Text4_Change();
}

void ModeSwitch::returnToStandardMode() {
    Form1& f = m_form;
    f.Command3.setCaption(QStringLiteral("拡張"));
    f.Command3.setToolTip(QStringLiteral("上級者用機能に拡張できます"));
    f.Text4.setVisible(false);
    f.Text3.setReadOnly(true);
    f.SBar.setPanelBevel(1, Bevel::Inset);
    f.SBar.setMousePointer(MousePointer::Default);
    f.SBar.setToolTip(QString());
    f.TabStrip1.select(1);
    f.Command1.setCaption(QStringLiteral("実 行 ／ 終 了"));
    f.Command2.setCaption(QStringLiteral("キャンセル"));
    f.Command1.setToolTip(QStringLiteral("処理を実行して終了します"));
    f.form.refresh();
    // The random prefix belongs to extended mode; clearing it must not recompute names from
    // the extended file pattern, since the list is rebuilt right after.
    m_state.SuppressNaming = true;
    f.Check5.setValue(0);
    m_state.SuppressNaming = false;
    m_sortFilter.Combo1_Click();
}

void ModeSwitch::TabStrip1_BeforeClick(bool&) {
    m_state.SavedTabIndex = m_form.TabStrip1.selectedIndex();
}

void ModeSwitch::TabStrip1_Click() {
    Form1& f = m_form;
    switch (f.TabStrip1.selectedIndex()) {
        case 1:
            f.Frame2.setVisible(true);
            f.Frame3.setVisible(false);
            f.Frame4.setVisible(false);
            f.Frame5.setVisible(false);
            break;
        case 2:
            f.Frame2.setVisible(false);
            f.Frame3.setVisible(true);
            f.Frame4.setVisible(false);
            f.Frame5.setVisible(false);
            break;
        case 3:
            if (!IsStandardMode(f)) {
                f.Frame2.setVisible(false);
                f.Frame3.setVisible(false);
                f.Frame4.setVisible(true);
                f.Frame5.setVisible(true);
            } else {
                // The third tab is refused in standard mode. Without a recorded tab to go
                // back to, the first one is taken.
                const int previous = m_state.SavedTabIndex;
                f.TabStrip1.select(previous >= 1 && previous <= 2 ? previous : 1);
            }
            break;
        default:
            break;
    }
}

}  // namespace quillet
