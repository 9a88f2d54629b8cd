#pragma once

#include <QByteArray>
#include <array>
#include <climits>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "ui/control.h"
#include "util/string_blocks.h"

namespace quillet {

// Why the execute button would leave a row's file under its old name.
enum class RenameProblem : std::uint8_t {
    None,
    EmptyName,
    ReservedName,  // "." or ".."
    Slash,
    ForbiddenCharacter,
    TooLong,
    TakenByEarlierRename,  // another checked row is renamed into the name first
    TakenByListedFile,     // a listed file holds it and is not renamed away before
    TakenInFolder,         // a file of the folder that the list does not show holds it
};

struct RenameMark {
    RenameProblem problem = RenameProblem::None;
    int holder = 0;  // for TakenByEarlierRename: the row renamed into the name
};

// The list's columns, in the order the list holds them. The first two are shown; the others
// keep what the program needs to sort and name each row. A column's value is also its place
// among the columns as the list's sort key counts them, from 0.
enum class ListColumn : std::uint8_t {
    Text,       // the file name as the list shows it
    NewName,    // what the file would be renamed to, or its attributes in attribute-only mode
    OldFile,    // the base name without its trailing number
    SortKey,    // the trailing number zero-padded to 12 digits, then the file name
    Expantion,  // the extension without its dot
    DateTime,   // the modification time as sortable text
    Exp,        // the extension padded, then the file name: sorts by type
};
inline constexpr int kListColumns = 7;

constexpr int ColumnIndex(ListColumn column) {
    return static_cast<int>(column);
}

// One row of the file list: its two flags, a text for every column, and the name's raw bytes,
// which every file operation uses so that names that are not valid UTF-8 survive untouched.
struct ListRow {
    bool checked = true;
    bool selected = false;
    bool newNameBlue = false;
    RenameMark mark;       // set by the failure marks in every naming pass
    std::uint32_t id = 0;  // its place when it was added, kept through sorting
    // The naming pass reads the flags, the raw name and the new name of every row on every
    // keystroke: they come first, to share the row's first cache line.
    QByteArray rawName;
    QString newName;
    QString oldFile;
    QString sortKey;
    QString expantion;
    QString dateTime;
    QString exp;
    QString text;

    const QString& cell(ListColumn column) const { return this->*kCells[ColumnIndex(column)]; }
    QString& cell(ListColumn column) { return this->*kCells[ColumnIndex(column)]; }

  private:
    static constexpr QString ListRow::*kCells[kListColumns] = {
        &ListRow::text,      &ListRow::newName,  &ListRow::oldFile, &ListRow::sortKey,
        &ListRow::expantion, &ListRow::dateTime, &ListRow::exp};
};

// What the latest rename pass did: every checked row it could not rename, with the error the
// file system gave (or the one a refused name stands for).
struct PassReport {
    struct Failure {
        QByteArray from;
        QByteArray to;
        int error = 0;
    };
    bool ran = false;
    int renamed = 0;
    std::vector<Failure> failures;
};

enum class SortOrder { Ascending, Descending };

// What the list changed since the view last looked; the view turns it into one update.
struct ListChanges {
    bool rowsReplaced = false;
    // The same rows put in another order: for each row in its present place, the place (from
    // 0) it had when the view last looked. Empty when no row moved or the rows were replaced.
    std::vector<std::uint32_t> movedFrom;
    int firstRow = INT_MAX;  // 1-based range, in the present order, of rows whose content changed
    int lastRow = 0;
    // Within those rows, the columns (ColumnIndex) whose text, check mark or rename mark
    // changed: none when only rows' selection did. A naming pass changes the new name alone.
    int firstColumn = INT_MAX;
    int lastColumn = -1;
    int scrollToRow = 0;            // 0: no request
    bool selectionChanged = false;  // some row's selection flag changed within the range

    bool moved() const { return !movedFrom.empty(); }
    bool any() const { return rowsReplaced || moved() || lastRow > 0 || scrollToRow > 0; }
};

// The report-style file list. Rows are addressed from 1 in their present order. Sorting, when
// switched on, orders the rows by one column's text (stable, case-insensitive); while it is
// off, writes to the rows never move them.
class ListView : public Control {
  public:
    explicit ListView(QString name);

    const QString& columnHeader(ListColumn column) const;
    void setColumnHeader(ListColumn column, const QString& header);
    float columnWidth(ListColumn column) const;
    void setColumnWidth(ListColumn column, float width);

    int rowCount() const { return static_cast<int>(m_rows.size()); }
    // Every pass asks for each row, on every keystroke: the check stays in line, the throw
    // does not.
    const ListRow& row(int index) const {
        if (index < 1 || index > rowCount()) throwNoRow();
        return m_rows[static_cast<size_t>(index - 1)];
    }
    void clear();
    void reserve(int rows) { m_rows.reserve(static_cast<size_t>(rows)); }
    void addRow(ListRow row);
    void setChecked(int index, bool checked);
    void setSelected(int index, bool selected);
    void setCell(int index, ListColumn column, QString text);
    void setNewName(int index, QString text) {
        setCell(index, ListColumn::NewName, std::move(text));
    }
    // The same, the text copied into blocks of the list's own: the naming pass gives every row
    // a new name on every keystroke.
    void copyNewName(int index, QStringView text);
    void setMark(int index, RenameMark mark);
    void ensureVisible(int index);

    // A check-box click by the user: the mark changes, then ItemCheck is raised.
    void userSetChecked(int index, bool checked);

    bool sorted() const { return m_sorted; }
    void setSorted(bool sorted);
    // The column the rows are sorted by.
    ListColumn sortKey() const { return m_sortKey; }
    void setSortKey(ListColumn column);
    SortOrder sortOrder() const { return m_sortOrder; }
    void setSortOrder(SortOrder order);
    // Redraw: with sorting on, the rows are put in order now.
    void redraw();

    ListChanges takeChanges();

    // Counts every replacement of the rows (a rebuild, not a sort), so that what was learnt
    // about the listed files can be kept until they change.
    std::uint64_t listing() const { return m_listing; }

    // The latest rename pass over these rows; kept when the list is rebuilt after it.
    const PassReport& lastPass() const { return m_lastPass; }
    void setLastPass(PassReport report) { m_lastPass = std::move(report); }

    // A row's tool tip (numbered from 1), made only when asked for: a view asks for the row under
    // the pointer alone, while a text kept in every row would be made anew on every keystroke.
    // The behaviour that knows why a row would keep its name gives the source.
    QString rowToolTip(int index) const { return m_rowToolTips ? m_rowToolTips(index) : QString(); }
    void setRowToolTips(std::function<QString(int row)> source) {
        m_rowToolTips = std::move(source);
    }

    std::function<void(int row)> ItemCheck;
    std::function<void(int button, int shift, float x, float y)> MouseUp;

  private:
    [[noreturn]] static void throwNoRow();
    ListRow& mutableRow(int index) {
        if (index < 1 || index > rowCount()) throwNoRow();
        return m_rows[static_cast<size_t>(index - 1)];
    }
    // Without a column, no cell's content changed, only the row's selection.
    void markRowChanged(int index, std::optional<ListColumn> column);
    void cellChanged(int index, ListColumn column);
    void markRowsReplaced();
    void markRowsMoved(const std::vector<std::uint32_t>& order);
    void markPending();
    void sortIfDue();

    std::array<QString, kListColumns> m_headers;
    std::array<float, kListColumns> m_widths{};
    std::vector<ListRow> m_rows;
    TextBlocks m_newNames;
    bool m_sorted = false;
    bool m_sortDue = false;
    ListColumn m_sortKey = ListColumn::Text;
    SortOrder m_sortOrder = SortOrder::Ascending;
    ListChanges m_changes;
    bool m_pendingNotice = false;
    std::uint64_t m_listing = 0;
    PassReport m_lastPass;
    std::function<QString(int row)> m_rowToolTips;
};

}  // namespace quillet
