#pragma once

#include <QByteArray>
#include <array>
#include <climits>
#include <vector>

#include "ui/control.h"

namespace quillet {

// One row of the file list: its two flags, the file name it shows, the six sub-items (the new
// name and five hidden data columns) and the name's raw bytes, which every file operation
// uses so that names that are not valid UTF-8 survive untouched.
struct ListRow {
    static constexpr int kSubItems = 6;

    bool checked = true;
    bool selected = false;
    bool newNameBlue = false;
    QString text;
    std::array<QString, kSubItems> subItems;
    QByteArray rawName;
};

enum class SortOrder { Ascending, Descending };

// What the list changed since the view last looked; the view turns it into one update.
struct ListChanges {
    bool rowsReplaced = false;
    int firstRow = INT_MAX;  // 1-based range of rows whose content changed
    int lastRow = 0;
    int scrollToRow = 0;  // 0: no request
    bool selectionChanged = false;  // some row's selection flag changed within the range

    bool any() const { return rowsReplaced || lastRow > 0 || scrollToRow > 0; }
};

// The report-style file list. Rows are addressed from 1 in their present order. Sorting, when
// switched on, orders the rows by one column's text (stable, case-insensitive); while it is
// off, writes to the rows never move them.
class ListView : public Control {
  public:
    static constexpr int kColumns = 1 + ListRow::kSubItems;

    explicit ListView(QString name);

    // Columns, numbered from 1 (column 1 is the row text, column k + 1 sub-item k).
    const QString& columnHeader(int column) const;
    void setColumnHeader(int column, const QString& header);
    float columnWidth(int column) const;
    void setColumnWidth(int column, float width);

    int rowCount() const { return static_cast<int>(m_rows.size()); }
    const ListRow& row(int index) const;
    void clear();
    void reserve(int rows) { m_rows.reserve(static_cast<size_t>(rows)); }
    void addRow(ListRow row);
    void setChecked(int index, bool checked);
    void setSelected(int index, bool selected);
    void setSubItem(int index, int subItem, QString text);
    void ensureVisible(int index);

    // A check-box click by the user: the mark changes, then ItemCheck is raised.
    void userSetChecked(int index, bool checked);

    bool sorted() const { return m_sorted; }
    void setSorted(bool sorted);
    // The control's own sort index: the column number minus 1.
    int sortKey() const { return m_sortKey; }
    void setSortKey(int sortKey);
    SortOrder sortOrder() const { return m_sortOrder; }
    void setSortOrder(SortOrder order);
    // Redraw: with sorting on, the rows are put in order now.
    void redraw();

    ListChanges takeChanges();

    std::function<void(int row)> ItemCheck;
    std::function<void(int button, int shift, float x, float y)> MouseUp;

  private:
    ListRow& mutableRow(int index);
    void markRowChanged(int index);
    void markRowsReplaced();
    void markPending();
    void sortIfDue();

    std::array<QString, kColumns> m_headers;
    std::array<float, kColumns> m_widths{};
    std::vector<ListRow> m_rows;
    bool m_sorted = false;
    bool m_sortDue = false;
    int m_sortKey = 0;
    SortOrder m_sortOrder = SortOrder::Ascending;
    ListChanges m_changes;
    bool m_pendingNotice = false;
};

}  // namespace quillet
