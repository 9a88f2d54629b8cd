#include "filelist/file_list_builder.h"

#include "filelist/name_keys.h"
#include "naming/numbers.h"

namespace quillet {

FileListBuilder::FileListBuilder(Form1& form, ProgramState& state, Clock& clock,
                                 WindowMethods& window)
    : m_form(form), m_state(state), m_clock(clock), m_window(window) {}

void FileListBuilder::RebuildFileList() {
    const TimeOfDay now = m_clock.localTimeOfDay();
    m_state.RandomSeed = now.seconds * 10000.0 + now.minutes * 100.0 + now.hours;

    m_state.SuppressNaming = true;
    auto& PB1 = m_form.PB1;
    PB1.setValue(0);
    PB1.setVisible(true);

    auto& LV = m_form.LV;
    LV.setSorted(false);
    LV.clear();
    m_form.File1.refresh();

    addRows();
    LV.redraw();
    m_form.Text1.setText(QString());

    double largest = 0;
    const QString lastPrefix = readNumberKeys(largest);

    const int fileCount = m_form.File1.listCount();
    if (largest < fileCount) largest = fileCount;
    const int width = DecimalDigits(largest);
    m_form.Text2.setText(QStringLiteral("000000000001").right(width));
    m_form.SBar.setPanelText(2, QString::number(fileCount) + QStringLiteral("files"));
    m_form.Text1.setText(lastPrefix);

    // One sort by the chosen order; sorting goes off again at once so that writing the names
    // and check marks later never moves a row.
    LV.setSorted(true);
    LV.redraw();
    LV.setSorted(false);

    m_form.Command1.setEnabled(false);
    PB1.setVisible(false);
    m_state.SuppressNaming = false;
    m_window.Text_Change();
}

void FileListBuilder::addRows() {
    auto& LV = m_form.LV;
    auto& File1 = m_form.File1;
    const int count = File1.listCount();
    LV.reserve(count);
    for (int i = 0; i < count; ++i) {
        const DirEntry& entry = File1.entry(i);
        ListRow row;
        row.rawName = entry.rawName;
        row.text = entry.name.isNull() ? QString::fromUtf8(entry.rawName) : entry.name;
        row.checked = true;
        row.newNameBlue = true;
        NameParts parts = SplitName(row.text);
        row.subItems[sub::Exp - 1] = ExtensionSortKey(parts.extension, row.text);
        row.subItems[sub::OldFile - 1] = std::move(parts.base);
        if (parts.hasDot) row.subItems[sub::Expantion - 1] = std::move(parts.extension);
        if (entry.modifiedKnown)
            row.subItems[sub::DateTime - 1] = ModificationTimeText(entry.modifiedSeconds);
        LV.addRow(std::move(row));
        m_form.PB1.setValue(count > 1 ? static_cast<int>(static_cast<double>(i) / (count - 1) * 50)
                                      : 0);
    }
}

QString FileListBuilder::readNumberKeys(double& largest) {
    auto& LV = m_form.LV;
    QString lastPrefix;
    const int rows = LV.rowCount();
    for (int r = 1; r <= rows; ++r) {
        NumberKey key = ReadNumberKey(LV.row(r).subItems[sub::OldFile - 1]);
        if (key.proposesPrefix) lastPrefix = key.originalPrefix;
        if (key.hasTrailingNumber) LV.setSubItem(r, sub::OldFile, std::move(key.originalPrefix));
        const QString& name = LV.row(r).text;
        QString sortKey;
        sortKey.reserve(12 + name.size());
        AppendZeroPad(sortKey, key.value, 12);
        sortKey += name;
        LV.setSubItem(r, sub::SortKey, std::move(sortKey));
        if (key.value > largest) largest = key.value;
        m_form.PB1.setValue(50 + static_cast<int>(static_cast<double>(r) / rows * 50));
    }
    return lastPrefix;
}

}  // namespace quillet
