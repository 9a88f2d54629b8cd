#pragma once

#include <QTreeView>
#include <optional>
#include <utility>

namespace quillet {

// The file list's tree view. A naming pass changes every row, and the list's model says so in
// one signal; Qt's tree view would then measure every row of that range to find the few on
// screen. This view repaints the rows on screen alone: every other row is read from the model
// when it is scrolled to, since the view keeps nothing of a row's content.
class FileListTree : public QTreeView {
  public:
    explicit FileListTree(QWidget* parent = nullptr);

    // The first and last row (from 0) that the viewport shows, if it shows any.
    std::optional<std::pair<int, int>> rowsOnScreen() const;

  protected:
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
    void showEvent(QShowEvent* event) override;

  private:
    // The first row changed while the view was hidden: the height every row shares is
    // measured again when it is shown.
    bool m_firstRowChangedHidden = false;
};

}  // namespace quillet
