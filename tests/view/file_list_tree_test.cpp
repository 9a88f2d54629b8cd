#include "view/file_list_tree.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QScreen>
#include <QScrollBar>
#include <QTreeView>

#include "window_fixture.h"

namespace quillet::test {
namespace {

// Where the list stands when a naming pass changes every row, and where it is scrolled next.
struct ScrollCase {
    const char* name;
    double during;  // the scroll bar's place, from 0 (top) to 1 (bottom)
    double after;
};

class FileListTreeDrawing : public WindowFixture, public ::testing::WithParamInterface<ScrollCase> {
  protected:
    FileListTreeDrawing() {
        // Enough rows for several pages.
        for (int i = 4; i <= 300; ++i)
            folder.write(QStringLiteral("IMG_%1.jpg").arg(i, 4, 10, QLatin1Char('0')).toUtf8(),
                         "picture");
    }

    QTreeView* list() const { return view->listView(); }

    void scrollTo(double place) {
        QScrollBar* bar = list()->verticalScrollBar();
        bar->setValue(static_cast<int>(place * bar->maximum()));
        settle();
    }

    // The list as the window shows it now: what was drawn into the window, kept from paint to
    // paint and moved along when the list scrolls.
    QImage onScreen() const {
        QWidget* rows = list()->viewport();
        const QPoint at = rows->mapTo(view.get(), QPoint(0, 0));
        return view->screen()
            ->grabWindow(view->winId(), at.x(), at.y(), rows->width(), rows->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    // The list drawn afresh from the model.
    QImage fromModel() const {
        return list()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

TEST_P(FileListTreeDrawing, RowsChangedOnOrOffScreenAreDrawnWithWhatTheyHoldNow) {
    load();
    ASSERT_NE(dynamic_cast<FileListTree*>(list()), nullptr);
    ASSERT_GT(list()->verticalScrollBar()->maximum(), 0) << "the list must be longer than a page";
    scrollTo(GetParam().during);
    const QImage before = onScreen();
    ASSERT_EQ(before, fromModel());

    window->form().Text1.setText(QStringLiteral("trip_"));
    settle();
    ASSERT_EQ(window->form().LV.row(300).newName, QStringLiteral("trip_300.jpg"));
    EXPECT_NE(onScreen(), before) << "the rows on screen were not drawn again";
    EXPECT_EQ(onScreen(), fromModel()) << "the rows on screen show what they held before";

    scrollTo(GetParam().after);
    EXPECT_EQ(onScreen(), fromModel()) << "rows scrolled to show what they held before";
}

INSTANTIATE_TEST_SUITE_P(Scrolls, FileListTreeDrawing,
                         ::testing::Values(ScrollCase{"AtTopThenToTheEnd", 0, 1},
                                           ScrollCase{"AtTheEndThenToTheTop", 1, 0},
                                           ScrollCase{"InTheMiddleThenALittleUp", 0.5, 0.45},
                                           ScrollCase{"InTheMiddleThenALittleDown", 0.5, 0.55}),
                         [](const ::testing::TestParamInfo<ScrollCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace quillet::test
