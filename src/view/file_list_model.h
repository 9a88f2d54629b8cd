#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QIcon>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "ui/list_view.h"

namespace quillet {

// The file list as Qt's item views see it: the row text with its check box and the new name.
// The hidden data columns are never exposed. Nothing is copied per row; every cell is read
// from the list when it is drawn, so a list of any length costs nothing until it is seen.
class FileListModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    // The list's first columns are shown, in its order: a section is a column's index.
    static constexpr int kVisibleColumns = ColumnIndex(ListColumn::NewName) + 1;
    static constexpr ListColumn columnOf(int section) { return static_cast<ListColumn>(section); }

    explicit FileListModel(ListView& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Takes what the list changed since the last call and tells the views: a reset when the
    // rows were replaced; else a layout change when the same rows were re-sorted, and one
    // dataChanged over the changed rows and shown columns. The changes are returned so the caller
    // can follow selection and scrolling.
    ListChanges apply();
    // The header texts may have changed; the views are told only if they did.
    void refreshHeaders();

    // The row the views count as `row` (from 0), or none where the list no longer has it.
    const ListRow* rowAt(int row) const;
    // What a cell of a row shows, the same to every reader: its text, whether it is blue (and
    // that blue), whether it bears the warning sign (and that sign).
    static QString cellText(const ListRow& row, int column);
    static bool cellBlue(const ListRow& row, int column);
    static QColor blue() { return QColor(0, 0, 255); }
    static bool cellMarked(const ListRow& row, int column);
    static QIcon markIcon();

  private:
    void moveRows(const std::vector<std::uint32_t>& movedFrom);

    ListView& m_list;
    // The row count the views were last told; the list may differ until apply() runs.
    int m_rows = 0;
    // The header texts the views were last told.
    std::array<QString, kVisibleColumns> m_headers;
};

}  // namespace quillet
