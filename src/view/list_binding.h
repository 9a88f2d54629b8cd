#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <functional>

class QItemSelection;
class QTreeView;
class QWidget;

namespace quillet {

class Binding;
class FileListModel;
class ListView;

// The file list on screen: its rows through the item model, its columns, and its selection,
// which the model and the user share.
class ListBinding : public QObject {
  public:
    ListBinding(Binding& binding, ListView& list, QWidget* parent);

    QTreeView* view() const { return m_view; }
    FileListModel* model() const { return m_model; }

    // Shows what the list changed since it was last drawn: one signal to the views, and the
    // selection and scrolling that go with it. Returns whether anything changed.
    bool applyChanges();

  private:
    void syncHeader();
    void queueUpdate();
    void followSelection(int firstRow, int lastRow);
    void userSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void shareWidth();

    Binding& m_binding;
    ListView& m_list;
    QTreeView* m_view = nullptr;
    FileListModel* m_model = nullptr;
    std::array<float, 2> m_appliedColumnWidths{-1, -1};
    int m_sharedWidth = -1;
    bool m_updateQueued = false;
};

}  // namespace quillet
