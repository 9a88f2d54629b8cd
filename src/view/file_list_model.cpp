#include "view/file_list_model.h"

#include <QApplication>
#include <QStyle>
#include <algorithm>

#include "util/file_name_text.h"

namespace quillet {

FileListModel::FileListModel(ListView& list, QObject* parent)
    : QAbstractTableModel(parent), m_list(list), m_rows(list.rowCount()) {
    for (int section = 0; section < kVisibleColumns; ++section)
        m_headers[static_cast<std::size_t>(section)] = list.columnHeader(columnOf(section));
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kVisibleColumns;
}

const ListRow* FileListModel::rowAt(int row) const {
    // The views may ask for a row the list no longer has before the next apply() tells them.
    if (row < 0 || row >= m_list.rowCount()) return nullptr;
    return &m_list.row(row + 1);
}

QString FileListModel::cellText(const ListRow& row, int column) {
    return columnOf(column) == ListColumn::Text ? row.text : ReadableFileName(row.newName);
}

bool FileListModel::cellBlue(const ListRow& row, int column) {
    return columnOf(column) == ListColumn::NewName && row.newNameBlue;
}

bool FileListModel::cellMarked(const ListRow& row, int column) {
    return columnOf(column) == ListColumn::NewName && row.mark.problem != RenameProblem::None;
}

QIcon FileListModel::markIcon() {
    return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    const ListRow* row = index.isValid() ? rowAt(index.row()) : nullptr;
    if (!row) return {};
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
            return cellText(*row, column);
        case Qt::CheckStateRole:
            if (columnOf(column) == ListColumn::Text)
                return row->checked ? Qt::Checked : Qt::Unchecked;
            return {};
        case Qt::DecorationRole:
            if (cellMarked(*row, column)) return markIcon();
            return {};
        case Qt::ToolTipRole:
            return m_list.rowToolTip(index.row() + 1);
        case Qt::ForegroundRole:
            if (cellBlue(*row, column)) return blue();
            return {};
        default:
            return {};
    }
}

bool FileListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || columnOf(index.column()) != ListColumn::Text ||
        !rowAt(index.row()))
        return false;
    const bool checked = value.value<Qt::CheckState>() == Qt::Checked;
    m_list.userSetChecked(index.row() + 1, checked);
    if (index.row() < m_rows) Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (columnOf(index.column()) == ListColumn::Text) flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= kVisibleColumns) return {};
    return m_list.columnHeader(columnOf(section));
}

ListChanges FileListModel::apply() {
    ListChanges changes = m_list.takeChanges();
    if (changes.rowsReplaced) {
        beginResetModel();
        m_rows = m_list.rowCount();
        endResetModel();
        return changes;
    }
    if (changes.moved()) moveRows(changes.movedFrom);
    if (changes.lastRow > 0 && changes.lastColumn >= 0) {
        const int first = std::max(changes.firstRow, 1);
        const int last = std::min(changes.lastRow, m_rows);
        // Only the cells that changed are drawn again; the data columns are never shown.
        const int firstColumn = changes.firstColumn;
        const int lastColumn = std::min(changes.lastColumn, kVisibleColumns - 1);
        if (first <= last && firstColumn <= lastColumn) {
            Q_EMIT dataChanged(index(first - 1, firstColumn), index(last - 1, lastColumn));
        }
    }
    return changes;
}

void FileListModel::moveRows(const std::vector<std::uint32_t>& movedFrom) {
    // The same rows in another order: the views keep what they hold of each row (its
    // selection, the current row, the row under the pointer) and find it in its new place.
    const QList<QPersistentModelIndex> none;
    Q_EMIT layoutAboutToBeChanged(none, VerticalSortHint);
    const QModelIndexList from = persistentIndexList();
    if (!from.isEmpty()) {
        std::vector<std::uint32_t> placeOf(movedFrom.size());
        for (std::uint32_t now = 0; now < movedFrom.size(); ++now) placeOf[movedFrom[now]] = now;
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex& held : from) {
            const auto before = static_cast<std::size_t>(held.row());
            to.push_back(before < placeOf.size()
                             ? index(static_cast<int>(placeOf[before]), held.column())
                             : QModelIndex());
        }
        changePersistentIndexList(from, to);
    }
    Q_EMIT layoutChanged(none, VerticalSortHint);
}

void FileListModel::refreshHeaders() {
    // Item views lay out every row again when any header text is said to change, so only a
    // real change is told.
    bool changed = false;
    for (int section = 0; section < kVisibleColumns; ++section) {
        QString& shown = m_headers[static_cast<std::size_t>(section)];
        if (shown == m_list.columnHeader(columnOf(section))) continue;
        shown = m_list.columnHeader(columnOf(section));
        changed = true;
    }
    if (changed) Q_EMIT headerDataChanged(Qt::Horizontal, 0, kVisibleColumns - 1);
}

}  // namespace quillet
