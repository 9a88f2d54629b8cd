#include "view/file_list_delegate.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QStyledItemDelegate>
#include <QTreeView>

#include "window_fixture.h"

namespace quillet::test {
namespace {

// How the list stands while it is drawn.
struct ListState {
    const char* name;
    bool selectSome;  // every third row selected
    bool focused;     // the list has the keyboard, on a current row
    bool enabled;
    // Another window has the keyboard, and the list's colours differ from one group to the
    // next, as they do in some desktops' palettes.
    bool inactive = false;
};

void PrintTo(const ListState& state, std::ostream* out) {
    *out << state.name;
}

class FileListDelegateDrawing : public WindowFixture,
                                public ::testing::WithParamInterface<ListState> {
  protected:
    QTreeView* list() const { return view->listView(); }

    // Every look a cell takes, row by row: checked or not, blue or not, marked or not, and a
    // name that fits or one cut in the middle, in either column.
    void fillRows() {
        ListView& rows = window->form().LV;
        rows.clear();
        const QString longName =
            QString::fromUtf8("とても長い旅の写真_") + QString(40, QLatin1Char('x'));
        for (int look = 0; look < 16; ++look) {
            ListRow row;
            row.checked = look & 1;
            row.newNameBlue = look & 2;
            if (look & 4) row.mark.problem = RenameProblem::TakenByListedFile;
            const bool cut = look & 8;
            row.text = cut ? longName + QStringLiteral("_%1.jpg").arg(look)
                           : QStringLiteral("IMG_%1.jpg").arg(look, 4, 10, QLatin1Char('0'));
            row.newName = cut ? QString::fromUtf8("旅_") + longName
                              : QString::fromUtf8("旅_%1.jpg").arg(look);
            row.rawName = row.text.toUtf8();
            rows.addRow(std::move(row));
        }
        // A new name left empty, and names the painter leaves to the style.
        ListRow empty;
        empty.text = QStringLiteral("empty.jpg");
        rows.addRow(std::move(empty));
        ListRow broken;
        broken.text = QStringLiteral("line\nfeed.jpg");
        broken.newName = QStringLiteral("tab\tand\u2028separator.jpg");
        rows.addRow(std::move(broken));
        view->applyListChanges();
    }

    QImage drawnWith(QAbstractItemDelegate* delegate) {
        QAbstractItemDelegate* own = list()->itemDelegate();
        list()->setItemDelegate(delegate);
        const QImage image = list()->viewport()->grab().toImage();
        list()->setItemDelegate(own);
        return image;
    }
};

TEST_P(FileListDelegateDrawing, CellsLookAsQtsStyledDelegateDrawsThem) {
    load();
    // Room for every row, so that every look is on screen at once.
    view->resize(view->width(), view->height() + 400);
    fillRows();
    const ListState& state = GetParam();
    ListView& rows = window->form().LV;
    for (int row = 1; row <= rows.rowCount(); ++row)
        rows.setSelected(row, state.selectSome && row % 3 == 0);
    view->applyListChanges();
    if (state.focused) {
        list()->setFocus();
        list()->setCurrentIndex(list()->model()->index(4, 1));
    }
    list()->setEnabled(state.enabled);
    QWidget other;
    if (state.inactive) {
        QPalette palette = list()->palette();
        palette.setColor(QPalette::Active, QPalette::Text, Qt::darkRed);
        palette.setColor(QPalette::Inactive, QPalette::Text, Qt::darkGreen);
        palette.setColor(QPalette::Active, QPalette::HighlightedText, Qt::yellow);
        palette.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::cyan);
        list()->setPalette(palette);
        other.show();
        other.activateWindow();
    }
    settle();
    ASSERT_EQ(list()->isActiveWindow(), !state.inactive);
    ASSERT_NE(dynamic_cast<FileListDelegate*>(list()->itemDelegate()), nullptr);
    ASSERT_GE(list()->viewport()->height(), 18 * list()->sizeHintForRow(0));

    QStyledItemDelegate styled;
    const QImage expected = drawnWith(&styled);
    const QImage drawn = list()->viewport()->grab().toImage();
    ASSERT_EQ(drawn.size(), expected.size());
    int differing = 0;
    QPoint first(-1, -1);
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            if (drawn.pixel(x, y) == expected.pixel(x, y)) continue;
            if (differing++ == 0) first = QPoint(x, y);
        }
    }
    EXPECT_EQ(differing, 0) << "first at " << first.x() << "," << first.y() << ", in row "
                            << list()->indexAt(first).row();
}

INSTANTIATE_TEST_SUITE_P(States, FileListDelegateDrawing,
                         ::testing::Values(ListState{"Plain", false, false, true},
                                           ListState{"Selected", true, false, true},
                                           ListState{"SelectedWithFocus", true, true, true},
                                           ListState{"Disabled", true, false, false},
                                           ListState{"InactiveWindow", true, true, true, true}),
                         [](const ::testing::TestParamInfo<ListState>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace quillet::test
