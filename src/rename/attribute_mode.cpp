#include "rename/attribute_mode.h"

namespace quillet {

AttributeMode::AttributeMode(Form1& form, WindowMethods& window) : m_form(form), m_window(window) {}

void AttributeMode::Check6_Click() {
    const bool attributesOnly = m_form.Check6.value() == 1;
    m_form.LV.setColumnHeader(ListColumn::NewName, attributesOnly
                                                       ? QStringLiteral("元の属性")
                                                       : QStringLiteral("新しいファイル名"));
    m_form.Frame3.setCaption(attributesOnly ? QStringLiteral("属性の変更")
                                            : QStringLiteral("名前の付け方"));
    for (auto& box : m_form.Check7) box.setVisible(attributesOnly);
    // Only the enabled flags change; the extension box keeps its read-only flag.
    m_form.Text1.setEnabled(!attributesOnly);
    m_form.Text2.setEnabled(!attributesOnly);
    m_form.Text3.setEnabled(!attributesOnly);
    m_window.Check1_Click();
}

}  // namespace quillet
