#include <gtest/gtest.h>

#include <QCursor>
#include <QGroupBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QTreeView>

#include "window_fixture.h"

namespace quillet::test {
namespace {

class WindowLayoutTest : public WindowFixture {
  protected:
    void SetUp() override { load(); }

    // Every widget named after a control that stands in a frame, and where it may stand.
    void expectInsideFrames() {
        for (auto* frame : view->findChildren<QGroupBox*>()) {
            const QRect contents = frame->contentsRect();
            for (QWidget* child : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (child->objectName().isEmpty() ||
                    child->objectName().startsWith(QLatin1String("qt_")))
                    continue;
                EXPECT_TRUE(contents.contains(child->geometry()))
                    << child->objectName().toStdString() << " crosses the border of "
                    << frame->objectName().toStdString();
            }
        }
    }
};

TEST_F(WindowLayoutTest, EveryControlStandsInsideItsFramesContents) {
    expectInsideFrames();
    // The frames of the other tabs and of extended mode too.
    window->form().Command3.click();
    settle();
    expectInsideFrames();
}

TEST_F(WindowLayoutTest, TheFirstSortOptionStandsBelowTheFramesTitle) {
    auto* frame = widget<QGroupBox>(QStringLiteral("Frame2"));
    QWidget* first = widget<QWidget>(QStringLiteral("Option1(3)"));
    EXPECT_GE(first->y(), frame->contentsRect().top());
    // The order top to bottom stays the design's.
    int previousBottom = 0;
    for (const char* name : {"Option1(3)", "Option1(2)", "Option1(1)", "Check2", "Option1(0)"}) {
        QWidget* control = widget<QWidget>(QString::fromLatin1(name));
        EXPECT_GE(control->y(), previousBottom) << name;
        EXPECT_GT(control->height(), 0) << name;
        previousBottom = control->geometry().bottom();
    }
}

struct Growth {
    const char* name;
    int width;
};

class ColumnsAfterResize : public WindowLayoutTest, public ::testing::WithParamInterface<Growth> {};

// Both visible columns take half the list's width less the margin, whatever the size.
TEST_P(ColumnsAfterResize, ShareTheListsWidthAndTheDataColumnsStayHidden) {
    view->resize(view->width() + GetParam().width, view->height() + 40);
    settle();
    const ListView& list = window->form().LV;
    QTreeView* shown = view->listView();
    const float expected = view->toTwips(shown->width()) / 2 - 150;
    EXPECT_NEAR(list.columnWidth(ListColumn::Text), expected, 0.5);
    EXPECT_NEAR(list.columnWidth(ListColumn::NewName), expected, 0.5);
    for (int column = ColumnIndex(ListColumn::OldFile); column < kListColumns; ++column)
        EXPECT_EQ(list.columnWidth(static_cast<ListColumn>(column)), 0) << column;
    EXPECT_EQ(shown->header()->sectionSize(0), view->toPixels(expected));
    EXPECT_EQ(shown->header()->sectionSize(1), view->toPixels(expected));
}

INSTANTIATE_TEST_SUITE_P(Sizes, ColumnsAfterResize,
                         ::testing::Values(Growth{"Design", 0}, Growth{"Wider", 300},
                                           Growth{"MuchWider", 1000}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowLayoutTest, TheHelpTextFitsItsPanelWithoutScrollingSideways) {
    window->form().Command4.click();
    settle();
    auto* help = widget<QPlainTextEdit>(QStringLiteral("Text5"));
    EXPECT_EQ(help->horizontalScrollBar()->maximum(), 0);
    const QStringList lines = help->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 18) << "the help keeps its lines";
}

TEST_F(WindowLayoutTest, InExtendedModeTheStatusBarLooksAndSaysThatAClickChoosesTheFolder) {
    auto* bar = widget<QStatusBar>(QStringLiteral("SBar"));
    EXPECT_NE(bar->cursor().shape(), Qt::PointingHandCursor);
    window->form().Command3.click();
    settle();
    EXPECT_EQ(bar->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(bar->toolTip(), window->form().SBar.toolTip());
    EXPECT_FALSE(bar->toolTip().isEmpty());
    window->form().Command3.click();
    settle();
    EXPECT_NE(bar->cursor().shape(), Qt::PointingHandCursor);
}

}  // namespace
}  // namespace quillet::test
