#include "ui/list_view.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <stdexcept>
#include <utility>

#include "util/caseless_compare.h"

namespace quillet {

ListView::ListView(QString name) : Control(std::move(name)) {}

const QString& ListView::columnHeader(ListColumn column) const {
    return m_headers[ColumnIndex(column)];
}

void ListView::setColumnHeader(ListColumn column, const QString& header) {
    auto& current = m_headers[ColumnIndex(column)];
    if (current == header) return;
    current = header;
    notifyView();
}

float ListView::columnWidth(ListColumn column) const {
    return m_widths[ColumnIndex(column)];
}

void ListView::setColumnWidth(ListColumn column, float width) {
    m_widths[ColumnIndex(column)] = width;
    notifyView();
}

void ListView::throwNoRow() {
    throw std::out_of_range("list row index");
}

void ListView::clear() {
    m_rows.clear();
    ++m_listing;
    m_sortDue = false;
    markRowsReplaced();
}

void ListView::addRow(ListRow row) {
    row.id = static_cast<std::uint32_t>(m_rows.size());
    m_rows.push_back(std::move(row));
    ++m_listing;
    markRowsReplaced();
    if (m_sorted) {
        m_sortDue = true;
        sortIfDue();
    }
}

void ListView::setChecked(int index, bool checked) {
    auto& row = mutableRow(index);
    if (row.checked == checked) return;
    row.checked = checked;
    markRowChanged(index, ListColumn::Text);  // the check box is drawn with the text
}

void ListView::setSelected(int index, bool selected) {
    auto& row = mutableRow(index);
    if (row.selected == selected) return;
    row.selected = selected;
    m_changes.selectionChanged = true;
    markRowChanged(index, std::nullopt);
}

void ListView::setCell(int index, ListColumn column, QString text) {
    QString& cell = mutableRow(index).cell(column);
    if (cell == text) return;
    cell = std::move(text);
    cellChanged(index, column);
}

void ListView::copyNewName(int index, QStringView text) {
    QString& cell = mutableRow(index).newName;
    if (cell == text) return;
    // One pass's names lie side by side in memory, in row order, whatever the heap looked like:
    // the next pass reads them in that order.
    m_newNames.replace(cell, text.utf16(), text.size());
    cellChanged(index, ListColumn::NewName);
}

void ListView::cellChanged(int index, ListColumn column) {
    markRowChanged(index, column);
    if (m_sorted && column == m_sortKey) {
        m_sortDue = true;
        sortIfDue();
    }
}

void ListView::setMark(int index, RenameMark mark) {
    RenameMark& current = mutableRow(index).mark;
    if (current.problem == mark.problem && current.holder == mark.holder) return;
    current = mark;
    markRowChanged(index, ListColumn::NewName);  // the mark is shown beside the new name
}

void ListView::ensureVisible(int index) {
    m_changes.scrollToRow = index;
    markPending();
}

void ListView::userSetChecked(int index, bool checked) {
    if (row(index).checked == checked) return;
    setChecked(index, checked);
    Raise(ItemCheck, index);
}

void ListView::setSorted(bool sorted) {
    if (sorted == m_sorted) return;
    m_sorted = sorted;
    m_sortDue = sorted;
    sortIfDue();
}

void ListView::setSortKey(ListColumn column) {
    if (column != m_sortKey && m_sorted) m_sortDue = true;
    m_sortKey = column;
    sortIfDue();
}

void ListView::setSortOrder(SortOrder order) {
    if (order != m_sortOrder && m_sorted) m_sortDue = true;
    m_sortOrder = order;
    sortIfDue();
}

void ListView::redraw() {
    sortIfDue();
    notifyView();
}

void ListView::sortIfDue() {
    if (!m_sorted || !m_sortDue) return;
    m_sortDue = false;
    // The rows are ordered through an index, so the sort moves small entries instead of whole
    // rows; each row then moves once, to its place.
    std::vector<QStringView> texts;
    texts.reserve(m_rows.size());
    for (const ListRow& row : m_rows) texts.push_back(row.cell(m_sortKey));
    const std::vector<std::uint32_t> order =
        CaselessOrder(texts, m_sortOrder == SortOrder::Descending);
    if (order.empty()) return;  // already in order
    std::vector<ListRow> sorted;
    sorted.reserve(m_rows.size());
    for (const std::uint32_t from : order) sorted.push_back(std::move(m_rows[from]));
    m_rows = std::move(sorted);
    markRowsMoved(order);
}

ListChanges ListView::takeChanges() {
    m_pendingNotice = false;
    return std::exchange(m_changes, ListChanges{});
}

void ListView::markRowChanged(int index, std::optional<ListColumn> column) {
    m_changes.firstRow = std::min(m_changes.firstRow, index);
    m_changes.lastRow = std::max(m_changes.lastRow, index);
    if (column) {
        m_changes.firstColumn = std::min(m_changes.firstColumn, ColumnIndex(*column));
        m_changes.lastColumn = std::max(m_changes.lastColumn, ColumnIndex(*column));
    }
    markPending();
}

void ListView::markRowsReplaced() {
    m_changes.rowsReplaced = true;
    m_changes.movedFrom.clear();
    markPending();
}

void ListView::markRowsMoved(const std::vector<std::uint32_t>& order) {
    // A view that is told the rows were replaced reads them all afresh anyway.
    if (m_changes.rowsReplaced) return;
    // The places are those the view last saw, however many sorts came since.
    if (m_changes.moved()) {
        std::vector<std::uint32_t> composed;
        composed.reserve(order.size());
        for (const std::uint32_t from : order) composed.push_back(m_changes.movedFrom[from]);
        m_changes.movedFrom = std::move(composed);
    } else {
        m_changes.movedFrom = order;
    }
    // A row changed before the sort is somewhere else now.
    if (m_changes.lastRow > 0) {
        m_changes.firstRow = 1;
        m_changes.lastRow = rowCount();
    }
    markPending();
}

void ListView::markPending() {
    // One notice per batch of changes: the view collects them all when it next draws.
    const bool wasPending = m_pendingNotice;
    m_pendingNotice = true;
    if (!wasPending) notifyView();
}

}  // namespace quillet
