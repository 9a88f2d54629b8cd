#pragma once

#include <QStyledItemDelegate>

namespace quillet {

class FileListModel;

// Paints the list's cells pixel for pixel as Qt's styled delegate does, for a fraction of its
// cost: a naming pass draws every cell on screen again on every keystroke. The cell's look is
// read from its row, not asked of the model role by role, and its text is shaped once, where
// the style shapes it four times over (to size the cell, to elide the text, to lay it out, and
// again to draw it). What this painter does not know (a cell of its own focus, right to left,
// a text of several lines) the style draws its own way.
class FileListDelegate : public QStyledItemDelegate {
  public:
    FileListDelegate(const FileListModel& model, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    const FileListModel& m_model;
};

}  // namespace quillet
