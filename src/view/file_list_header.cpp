#include "view/file_list_header.h"

#include <QStyleOptionHeader>

namespace quillet {

FileListHeader::FileListHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

QSize FileListHeader::sectionSizeFromContents(int logicalIndex) const {
    ensurePolished();
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.section = logicalIndex;
    option.text = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
    if (isSortIndicatorShown()) option.sortIndicator = QStyleOptionHeader::SortDown;
    return style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this);
}

}  // namespace quillet
