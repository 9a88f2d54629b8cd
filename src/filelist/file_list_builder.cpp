#include "filelist/file_list_builder.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "filelist/name_keys.h"
#include "naming/numbers.h"
#include "util/file_name_text.h"

namespace quillet {

namespace {

// The texts seen last, handed out again while the next rows repeat one of them: most rows of a
// folder share the extension, the photos of one camera share their prefix, and a folder often
// mixes a few cameras. A shared text costs a row neither memory nor time of its own.
class RecentTexts {
  public:
    const QString& of(QStringView text, TextBlocks& blocks) {
        if (text.isNull()) return m_null;
        if (isKept(m_latest, text)) return m_kept[m_latest];
        for (std::size_t i = 0; i < kKept; ++i) {
            if (isKept(i, text)) return m_kept[m_latest = i];
        }
        m_latest = m_next;
        m_next = (m_next + 1) % kKept;
        return m_kept[m_latest] = blocks.copy(text.utf16(), text.size());
    }

  private:
    static constexpr std::size_t kKept = 4;
    bool isKept(std::size_t i, QStringView text) const {
        return !m_kept[i].isNull() && m_kept[i] == text;
    }

    std::array<QString, kKept> m_kept;
    std::size_t m_latest = 0;
    std::size_t m_next = 0;
    QString m_null;
};

// The same for modification times: files copied together share their time, and a folder
// written by a few copies in turn has a few times in play.
class RecentTimes {
  public:
    const QString& of(std::int64_t seconds, TextBlocks& blocks) {
        for (std::size_t i = 0; i < kKept; ++i) {
            if (m_seconds[i] == seconds && !m_texts[i].isNull()) return m_texts[i];
        }
        const std::size_t slot = m_next;
        m_next = (m_next + 1) % kKept;
        m_seconds[slot] = seconds;
        return m_texts[slot] = m_writer.of(seconds, &blocks);
    }

  private:
    static constexpr std::size_t kKept = 4;
    ModificationTimeTexts m_writer;
    std::array<std::int64_t, kKept> m_seconds{};
    std::array<QString, kKept> m_texts;
    std::size_t m_next = 0;
};

// Whether the decoded name may have lost bytes of the file's name: U+FFFD in it may stand for
// bytes that are not UTF-8, and the usual decoding drops a byte order mark at the start. The
// hidden columns are made from the name as text that keeps every byte, so that new names made
// of a file's own prefix or extension carry the file's own bytes.
bool MayHaveLostBytes(const QString& decoded, const QByteArray& bytes) {
    static constexpr char kByteOrderMark[] = "\xef\xbb\xbf";
    return decoded.contains(QChar::ReplacementCharacter) ||
           (bytes.size() >= 3 && std::memcmp(bytes.constData(), kByteOrderMark, 3) == 0);
}

// The name as text that keeps every byte, which the hidden columns are made of.
QString KeyNameOf(const ListRow& row) {
    return MayHaveLostBytes(row.text, row.rawName) ? FileNameText(row.rawName) : row.text;
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

    // The rows' keys and shared texts are kept in blocks of many: a rebuild of 100,000 rows
    // makes a few hundred allocations for them, and the next rebuild frees as few.
    TextBlocks blocks;
    addRows(blocks);
    LV.redraw();
    m_form.Text1.setText(QString());
    double largest = 0;
    const QString lastPrefix = addNumberKeys(blocks, largest);

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

FileListBuilder::NumberPart FileListBuilder::NumberPart::of(const NumberKey& key) {
    NumberPart part;
    part.value = key.value;
    part.prefixLength =
        key.originalPrefix.isNull() ? kNoPrefix : static_cast<int>(key.originalPrefix.size());
    part.proposesPrefix = key.proposesPrefix;
    part.read = true;
    return part;
}

void FileListBuilder::addRows(TextBlocks& blocks) {
    auto& LV = m_form.LV;
    auto& File1 = m_form.File1;
    const int count = File1.listCount();
    LV.reserve(count);
    m_numbers.assign(static_cast<std::size_t>(count), NumberPart{});
    RecentTexts extensions;
    RecentTimes times;
    // The listing's names move into the rows, which are their only readers from here on: the
    // names of 100,000 files are then let go once, with the rows, and never touched twice.
    std::vector<DirEntry>& entries = File1.entries();
    for (int i = 0; i < count; ++i) {
        DirEntry& entry = entries[static_cast<std::size_t>(i)];
        ListRow row;
        row.rawName = std::move(entry.rawName);
        QString name = entry.name.isNull() ? QString::fromUtf8(row.rawName) : std::move(entry.name);
        if (MayHaveLostBytes(name, row.rawName)) name = FileNameText(row.rawName);
        row.text = ReadableFileName(name);
        row.checked = true;
        row.newNameBlue = true;
        const NameParts parts = SplitName(name);
        row.exp = ExtensionSortKey(parts.extension, name, &blocks);
        if (parts.hasDot) row.expantion = extensions.of(parts.extension, blocks);
        if (entry.modifiedKnown) row.dateTime = times.of(entry.modifiedSeconds, blocks);
        // The number is read here, while the name is split; the second pass writes its texts
        // from the shown name. A name shown otherwise than it is kept is read again there.
        if (row.text.constData() == name.constData()) {
            m_numbers[static_cast<std::size_t>(i)] = NumberPart::of(ReadNumberKey(parts.base));
        }
        LV.addRow(std::move(row));
        m_form.PB1.showStep(i, count - 1, 0, 50);
    }
}

QString FileListBuilder::addNumberKeys(TextBlocks& blocks, double& largest) {
    auto& LV = m_form.LV;
    const int count = LV.rowCount();
    RecentTexts prefixes;
    QString lastPrefix;
    for (int r = 1; r <= count; ++r) {
        const ListRow& row = LV.row(r);
        NumberPart number = m_numbers[row.id];
        QString reread;
        if (!number.read) {
            reread = KeyNameOf(row);
            number = NumberPart::of(ReadNumberKey(SplitName(reread).base));
        }
        const QStringView name = reread.isNull() ? QStringView(row.text) : QStringView(reread);
        // The base name without its trailing number, or the whole base name without one.
        const QString& prefix = prefixes.of(number.prefixLength == NumberPart::kNoPrefix
                                                ? QStringView()
                                                : name.left(number.prefixLength),
                                            blocks);
        QString sortKey = NumberSortKey(number.value, name, &blocks);
        LV.setCell(r, ListColumn::OldFile, prefix);
        LV.setCell(r, ListColumn::SortKey, std::move(sortKey));
        if (number.proposesPrefix) lastPrefix = prefix;
        if (number.value > largest) largest = number.value;
        m_form.PB1.showStep(r, count, 50, 100);
    }
    std::vector<NumberPart>().swap(m_numbers);
    return lastPrefix;
}

}  // namespace quillet
