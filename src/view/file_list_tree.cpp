#include "view/file_list_tree.h"

#include <QAccessible>
#include <algorithm>

#include "view/file_list_header.h"

namespace quillet {

FileListTree::FileListTree(QWidget* parent) : QTreeView(parent) {
    setHeader(new FileListHeader(this));
    // Every row as tall as the first: no row's height is measured but the first one's.
    setUniformRowHeights(true);
}

std::optional<std::pair<int, int>> FileListTree::rowsOnScreen() const {
    const QModelIndex top = indexAt(QPoint(0, 0));
    if (!top.isValid()) return std::nullopt;
    const QModelIndex bottom = indexAt(QPoint(0, viewport()->height() - 1));
    // No row at the bottom: the list ends on screen.
    const int last = bottom.isValid() ? bottom.row() : model()->rowCount() - 1;
    return std::make_pair(top.row(), last);
}

void FileListTree::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                               const QList<int>& roles) {
    if (!topLeft.isValid() || topLeft.parent().isValid() || topLeft.row() >= bottomRight.row()) {
        QTreeView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    if (!isVisible()) {
        // A hidden view draws nothing and reads every row afresh when it is shown; finding
        // the rows on screen would lay out every row, and load the fonts, for no one.
        if (topLeft.row() == 0) m_firstRowChangedHidden = true;
        return;
    }
    const auto shown = rowsOnScreen();
    if (!shown) {
        QTreeView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    const int first = std::max(topLeft.row(), shown->first);
    const int last = std::min(bottomRight.row(), shown->second);
    // The height every row shares is the first row's; Qt measures it again when the first row
    // changes. It is measured here, and a new height takes Qt's own way over the whole range,
    // which lays the rows out again.
    if (topLeft.row() == 0 &&
        indexRowSizeHint(model()->index(0, 0)) != rowHeight(model()->index(shown->first, 0))) {
        QTreeView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    if (first > last) return;
    if (QAccessible::isActive()) {
        // Qt's own way tells assistive tools which cells changed.
        QTreeView::dataChanged(model()->index(first, topLeft.column()),
                               model()->index(last, bottomRight.column()), roles);
        return;
    }
    // Qt draws the whole list again for any range of more than one cell; a naming pass changes
    // the new names alone, and only their cells are drawn again.
    const QRect cells = visualRect(model()->index(first, topLeft.column())) |
                        visualRect(model()->index(last, bottomRight.column()));
    viewport()->update(cells);
}

void FileListTree::showEvent(QShowEvent* event) {
    if (m_firstRowChangedHidden && model() && model()->rowCount() > 0) {
        QTreeView::dataChanged(model()->index(0, 0), model()->index(0, model()->columnCount() - 1));
    }
    m_firstRowChangedHidden = false;
    QTreeView::showEvent(event);
}

}  // namespace quillet
