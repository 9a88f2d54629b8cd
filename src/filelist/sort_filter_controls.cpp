#include "filelist/sort_filter_controls.h"

namespace quillet {

namespace {

// The column each sort option sorts by.
constexpr ListColumn kSortColumnOfOption[] = {ListColumn::Text, ListColumn::SortKey,
                                              ListColumn::Exp, ListColumn::DateTime};

}  // namespace

SortFilterControls::SortFilterControls(Form1& form, WindowMethods& window)
    : m_form(form), m_window(window) {}

void SortFilterControls::Option1_Click(int) {
    int choice = 3;
    for (int option = 0; option <= 2; ++option) {
        if (m_form.Option1[option].value()) {
            choice = option;
            break;
        }
    }
    auto& LV = m_form.LV;
    LV.setSorted(true);
    m_form.Check2.setCaption(QStringLiteral("降順整列"));
    LV.setSortKey(kSortColumnOfOption[choice]);
    if (choice == 3) m_form.Check2.setCaption(QStringLiteral("新しいもの順"));
    LV.redraw();
    LV.setSorted(false);
    m_window.Text_Change();
}

void SortFilterControls::Check2_Click() {
    auto& LV = m_form.LV;
    LV.setSorted(true);
    LV.setSortOrder(m_form.Check2.value() == 0 ? SortOrder::Ascending : SortOrder::Descending);
    LV.redraw();
    LV.setSorted(false);
    m_window.Text_Change();
}

void SortFilterControls::Combo1_Click() {
    static const char* const extensions[] = {"jpg", "gif", "bmp"};
    const int index = m_form.Combo1.listIndex();
    if (index >= 0 && index <= 2) m_form.Text3.setText(QString::fromLatin1(extensions[index]));
    m_form.File1.setPattern(m_form.Combo1.currentText());
    m_window.RebuildFileList();
}

void SortFilterControls::Text4_Change() {
    m_form.File1.setPattern(m_form.Text4.text());
    m_window.RebuildFileList();
}

}  // namespace quillet
