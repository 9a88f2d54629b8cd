#include "view/list_binding.h"

#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <vector>

#include "ui/list_columns.h"
#include "ui/list_view.h"
#include "view/binding.h"
#include "view/file_list_delegate.h"
#include "view/file_list_model.h"
#include "view/file_list_tree.h"
#include "view/window_layout.h"

namespace quillet {

namespace {

// Runs `resized` after every resize of the widget.
class ResizeTap : public QObject {
  public:
    ResizeTap(QWidget* watched, std::function<void()> resized)
        : QObject(watched), m_resized(std::move(resized)) {
        watched->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize) m_resized();
        return false;
    }

  private:
    std::function<void()> m_resized;
};

}  // namespace

ListBinding::ListBinding(Binding& binding, ListView& list, QWidget* parent)
    : QObject(parent), m_binding(binding), m_list(list) {
    m_view = new FileListTree(parent);
    m_model = new FileListModel(list, this);
    m_view->setModel(m_model);
    m_view->setItemDelegate(new FileListDelegate(*m_model, m_view));
    m_view->setRootIsDecorated(false);
    m_view->setItemsExpandable(false);
    m_view->setAllColumnsShowFocus(true);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setTextElideMode(Qt::ElideMiddle);
    m_view->header()->setStretchLastSection(false);
    m_view->header()->setSectionsMovable(false);
    binding.layout().add(list, m_view, WindowLayout::Anchor::Grow);

    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& selected, const QItemSelection& deselected) {
                userSelectionChanged(selected, deselected);
            });
    binding.follow(list, [this, &binding, &list] {
        syncHeader();
        binding.showCommon(list, m_view);
        queueUpdate();
    });
    new ResizeTap(m_view, [this] { shareWidth(); });
}

void ListBinding::shareWidth() {
    // The list tells the model how wide it now is; the model shares that among the columns.
    if (m_view->width() == m_sharedWidth) return;
    m_sharedWidth = m_view->width();
    ShareListWidth(m_list, m_binding.layout().toTwips(m_sharedWidth));
}

void ListBinding::syncHeader() {
    m_model->refreshHeaders();
    for (int section = 0; section < FileListModel::kVisibleColumns; ++section) {
        // Only a width the program sets is applied; the user's own resizing is kept.
        float& applied = m_appliedColumnWidths[static_cast<size_t>(section)];
        const float wanted = m_list.columnWidth(FileListModel::columnOf(section));
        if (wanted == applied) continue;
        applied = wanted;
        m_view->header()->resizeSection(section, m_binding.layout().toPixels(applied));
    }
}

void ListBinding::queueUpdate() {
    if (m_updateQueued) return;
    m_updateQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_updateQueued = false;
        applyChanges();
    });
}

bool ListBinding::applyChanges() {
    ListChanges changes;
    {
        // What the views do to their selection while they follow the rows (a reset clears it,
        // a re-sort carries it along with the rows) is no choice of the user's.
        Binding::Scope scope(m_binding);
        changes = m_model->apply();
    }
    const int rows = m_model->rowCount();
    if (changes.rowsReplaced) {
        followSelection(1, rows);
    } else if (changes.lastRow > 0 && changes.selectionChanged) {
        followSelection(std::max(1, changes.firstRow), std::min(changes.lastRow, rows));
    }
    if (changes.scrollToRow > 0 && changes.scrollToRow <= rows) {
        m_view->scrollTo(m_model->index(changes.scrollToRow - 1, 0));
    }
    return changes.any();
}

void ListBinding::followSelection(int firstRow, int lastRow) {
    if (firstRow > lastRow) return;
    lastRow = std::min(lastRow, m_list.rowCount());
    if (firstRow > lastRow) return;

    // What the view shows now, for the rows in question.
    std::vector<char> shown(static_cast<size_t>(lastRow - firstRow + 1), 0);
    const QItemSelection current = m_view->selectionModel()->selection();
    for (const QItemSelectionRange& range : current) {
        const int top = std::max(range.top() + 1, firstRow);
        const int bottom = std::min(range.bottom() + 1, lastRow);
        for (int row = top; row <= bottom; ++row) shown[static_cast<size_t>(row - firstRow)] = 1;
    }

    // Only rows that differ are touched: re-selecting what is already selected would end a
    // selection the user is still dragging out.
    QItemSelection toSelect;
    QItemSelection toDeselect;
    const int lastColumn = FileListModel::kVisibleColumns - 1;
    auto addRun = [this](QItemSelection& selection, int from, int to) {
        selection.select(m_model->index(from - 1, 0), m_model->index(to - 1, lastColumn));
    };
    int runStart = 0;
    bool runSelect = false;
    for (int row = firstRow; row <= lastRow + 1; ++row) {
        bool differs = false;
        bool wanted = false;
        if (row <= lastRow) {
            wanted = m_list.row(row).selected;
            differs = wanted != (shown[static_cast<size_t>(row - firstRow)] != 0);
        }
        if (runStart && (!differs || wanted != runSelect)) {
            addRun(runSelect ? toSelect : toDeselect, runStart, row - 1);
            runStart = 0;
        }
        if (differs && !runStart) {
            runStart = row;
            runSelect = wanted;
        }
    }
    if (toSelect.isEmpty() && toDeselect.isEmpty()) return;
    Binding::Scope scope(m_binding);
    if (!toDeselect.isEmpty())
        m_view->selectionModel()->select(toDeselect, QItemSelectionModel::Deselect);
    if (!toSelect.isEmpty())
        m_view->selectionModel()->select(toSelect, QItemSelectionModel::Select);
}

void ListBinding::userSelectionChanged(const QItemSelection& selected,
                                       const QItemSelection& deselected) {
    if (m_binding.syncing() || m_binding.alive().expired()) return;
    // The user's selection is the list's: only the rows whose highlight changed are written, so
    // that a click costs the same on a list of any length. A row stays selected while any of
    // its cells is.
    const int rows = std::min(m_list.rowCount(), m_model->rowCount());
    const QItemSelectionModel& model = *m_view->selectionModel();
    const auto write = [&](const QItemSelection& ranges, bool nowSelected) {
        for (const QItemSelectionRange& range : ranges) {
            const int bottom = std::min(range.bottom(), rows - 1);
            for (int row = std::max(range.top(), 0); row <= bottom; ++row) {
                bool shown = nowSelected;
                for (int column = 0; column < FileListModel::kVisibleColumns && !shown; ++column)
                    shown = model.isSelected(m_model->index(row, column));
                if (m_list.row(row + 1).selected != shown) m_list.setSelected(row + 1, shown);
            }
        }
    };
    write(deselected, false);
    write(selected, true);
}

}  // namespace quillet
