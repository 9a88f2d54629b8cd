#include "filelist/file_list_builder.h"

#include "filelist/name_keys.h"
#include "naming/numbers.h"
#include "util/file_name_text.h"

namespace quillet {

namespace {

// The last text seen, kept to be handed out again while the next rows repeat it: most rows of
// a folder share the extension and the prefix, and files copied together share their time.
// Shared texts save an allocation per row and the memory it holds.
class RepeatedText {
  public:
    const QString& of(QStringView text) {
        if (text != m_last || m_last.isNull()) m_last = text.toString();
        return m_last;
    }

  private:
    QString m_last;
};

class RepeatedTime {
  public:
    const QString& of(std::int64_t seconds) {
        if (seconds != m_seconds || m_text.isNull()) {
            m_seconds = seconds;
            m_text = m_texts.of(seconds);
        }
        return m_text;
    }

  private:
    ModificationTimeTexts m_texts;
    std::int64_t m_seconds = 0;
    QString m_text;
};

// Whether the decoded name may have lost bytes of the file's name: U+FFFD in it may stand for
// bytes that are not UTF-8, and the usual decoding drops a byte order mark at the start. The
// hidden columns are made from the name as text that keeps every byte, so that new names made
// of a file's own prefix or extension carry the file's own bytes.
bool mayHaveLostBytes(const QString& decoded, const QByteArray& bytes) {
    return decoded.contains(QChar::ReplacementCharacter) || bytes.startsWith("\xef\xbb\xbf");
}

}  // namespace

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
    const QString lastPrefix = addNumberKeys(largest);

    const int fileCount = m_form.File1.listCount();
    if (largest < fileCount) largest = fileCount;
    const int width = DecimalDigits(largest);
    m_form.Text2.setText(QStringLiteral("000000000001").right(width));
    m_form.SBar.setPanelText(2, QString::number(fileCount) + QStringLiteral("files"));
    // The box shows what can be read; only a file's own prefix, reused, keeps its bytes.
    m_form.Text1.setText(ReadableFileName(lastPrefix));

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
    RepeatedText extensions;
    RepeatedTime times;
    // The listing's names move into the rows, which are their only readers from here on: the
    // names of 100,000 files are then let go once, with the rows, and never touched twice.
    std::vector<DirEntry>& entries = File1.entries();
    for (int i = 0; i < count; ++i) {
        DirEntry& entry = entries[static_cast<std::size_t>(i)];
        ListRow row;
        row.rawName = std::move(entry.rawName);
        QString name = entry.name.isNull() ? QString::fromUtf8(row.rawName) : std::move(entry.name);
        if (mayHaveLostBytes(name, row.rawName)) name = FileNameText(row.rawName);
        row.text = ReadableFileName(name);
        row.checked = true;
        row.newNameBlue = true;
        const NameParts parts = SplitName(name);
        row.extensionKey() = ExtensionSortKey(parts.extension, name);
        if (parts.hasDot) row.extension() = extensions.of(parts.extension);
        if (entry.modifiedKnown) row.timeText() = times.of(entry.modifiedSeconds);
        LV.addRow(std::move(row));
        m_form.PB1.showStep(i, count - 1, 0, 50);
    }
}

QString FileListBuilder::addNumberKeys(double& largest) {
    auto& LV = m_form.LV;
    const int count = LV.rowCount();
    RepeatedText prefixes;
    QString lastPrefix;
    for (int r = 1; r <= count; ++r) {
        const ListRow& row = LV.row(r);
        const QString& name =
            mayHaveLostBytes(row.text, row.rawName) ? FileNameText(row.rawName) : row.text;
        const NumberKey key = ReadNumberKey(SplitName(name).base);
        // The base name without its trailing number, or the whole base name without one.
        const QString& prefix = prefixes.of(key.originalPrefix);
        LV.setSubItem(r, sub::OldFile, prefix);
        LV.setSubItem(r, sub::SortKey, NumberSortKey(key.value, name));
        if (key.proposesPrefix) lastPrefix = prefix;
        if (key.value > largest) largest = key.value;
        m_form.PB1.showStep(r, count, 50, 100);
    }
    return lastPrefix;
}

}  // namespace quillet
