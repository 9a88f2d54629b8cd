#include "view/quillet_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyleOptionViewItem>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <functional>
#include <iterator>

#include "view/file_list_model.h"
#include "window_fixture.h"

namespace quillet::test {
namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// What a widget shows as its caption or text, whatever kind of widget it is.
QString ShownText(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (auto* frame = qobject_cast<QGroupBox*>(widget)) return frame->title();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* text = qobject_cast<QPlainTextEdit*>(widget)) return text->toPlainText();
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) items.push_back(combo->itemText(i));
        return items.join(QLatin1Char('|'));
    }
    if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
        QStringList captions;
        for (int i = 0; i < tabs->count(); ++i) captions.push_back(tabs->tabText(i));
        return captions.join(QLatin1Char('|'));
    }
    return {};
}

struct ControlCase {
    const char* name;
    const char* text;
    const char* toolTip;
    bool shown;
};

std::string CaseName(const ::testing::TestParamInfo<ControlCase>& info) {
    return TestNameOf(info.param.name);
}

class ControlAsCreated : public WindowFixture, public ::testing::WithParamInterface<ControlCase> {};

TEST_P(ControlAsCreated, ShowsItsTextAndToolTip) {
    const ControlCase& expected = GetParam();
    view->show();  // and drawn: the help text comes with the first frame
    settle();
    QWidget* found = widget<QWidget>(QString::fromUtf8(expected.name));
    ASSERT_NE(found, nullptr) << "no widget named " << expected.name;
    EXPECT_EQ(ShownText(found), U(expected.text));
    EXPECT_EQ(found->toolTip(), U(expected.toolTip));
    EXPECT_EQ(!found->isHidden(), expected.shown);
}

const ControlCase kControls[] = {
    {"Text1", "", "前置文字列を入力します", true},
    {"Text2", "001", "付番の開始値を入力します 桁数もそのまま反映されます", true},
    {"Text3", "jpg", "拡張子を入力します", true},
    {"Frame1", "対象ファイル", "", true},
    {"Combo1", "*.jpg;*.jpeg|*.gif|*.bmp", "処理対象とするファイルの種類", true},
    {"Text4", "*.*", "表示するファイルを指定します", false},
    {"Command1", "実 行 ／ 終 了", "名前を変更して終了します", true},
    {"Command2", "キャンセル", "現在の状態のまま終了します", true},
    {"Command3", "拡張", "上級者用機能に拡張できます", true},
    {"Command4", "Help", "簡単な使用説明です", true},
    {"TabStrip1", "整列|基準|拡張", "", true},
    {"Frame2", "整列指定", "", true},
    {"Option1(3)", "ファイル更新日順", "ファイルの更新日付順に整列します", true},
    {"Option1(2)", "拡張子を重視", "ファイルの種類別に整列します", true},
    {"Option1(1)", "末尾の値を重視", "拡張子の前にある数値を用いて整列します", true},
    {"Check2", "降順整列", "整列順を逆転します", true},
    {"Option1(0)", "通常のASCII順", "通常の文字順に整列します", true},
    {"Frame3", "名前の付け方", "", false},
    {"Check4", "元拡張子使用", "元のファイルの拡張子を使います", true},
    {"Check1", "元値使用 ", "元のファイルの値を使います", true},
    {"Check3", "元前置文字使用", "元のファイルの前置文字を使います", true},
    {"Check6", "名前は変えずに、属性を変更する", "", true},
    {"Check7(0)", "読み取り専用", "読み取り専用属性(Readonly)にします", false},
    {"Check7(1)", "隠しファイル", "隠しファイル(Hidden)にします", false},
    {"Check7(2)", "アーカイブ", "アーカイブにします", false},
    {"Frame4", "ランダムな前置文字", "", false},
    {"Check5", "ランダムにする", "指定文字数分のランダムな前置文字を生成します", true},
    {"Frame5", "ショートカットの作成", "", false},
    {"Toolbar1(1)", "Desktop", "[デスクトップ]にショートカットを作成します", true},
    {"Toolbar1(2)", "Sendto", "[送る]にショートカットを作成します", true},
    {"PB1", "", "", false},
    {"Label3", "このツールは Pixalo の拡張機能ですが、単独でもご利用いただけます", "", true},
    {"Label2(0)", "Quillet Ver.1.2.0", "", true},
    {"Label2(1)", "戻る", "", true},
    {"Text5",
     "標準の状態での使い方\n"
     "　①ファイルタイプ（ワイルドカード）を指定します\n"
     "　②整列順を指定し、前置文字列、数値の開始と桁数を指定します\n"
     "　③ファイル名のチェックを外すと対象から除外します\n"
     "　④実際に名前を変更する場合は「実行」をクリックします\n"
     "　　（標準の機能ではファイルの拡張子は自動設定なので安全です）\n"
     "\"拡張\"される機能\n"
     "　①ファイルのワイルドカードが自由に指定できます\n"
     "　②新しいファイル名の拡張子が自由に指定できます\n"
     "　③下段のステータスバーをクリックすると、フォルダが指定できます\n"
     "　④[デスクトップ]と[送る]にショートカットが作成できます\n"
     "　　（これらは上級者用機能です　初心者が不用意に使用すると危険です）\n"
     "自動付番について\n"
     "　①ファイル名の前部が文字（なくてもよい）で、後部が数値と仮定し、\n"
     "　②数値またはファイル個数を付加できるだけの桁数を用意し、\n"
     "　③最後に見つかった前置文字を使用して、\n"
     "　④元の数値順に連番としてファイル名を付けます（元の値にもできます）\n"
     "　　（単純なASCIコード順にも付番できます）\n",
     "", true},
};

INSTANTIATE_TEST_SUITE_P(EveryControl, ControlAsCreated, ::testing::ValuesIn(kControls), CaseName);

class QuilletWindowTest : public WindowFixture {
  protected:
    QTreeView* list() const { return view->listView(); }
    QWidget* client() const { return view->centralWidget(); }
    ListView& LV() { return window->form().LV; }

    QPoint rowCenter(int row) const {
        return list()->visualRect(list()->model()->index(row, 0)).center();
    }
};

// What is off screen when the window opens, the help sheet parked below it and the extended
// mode's tool bar, gets its text and icons once the window is on screen, before anyone can
// bring them into view.
TEST_F(QuilletWindowTest, WhatTheFirstFrameDoesNotShowComesRightAfterIt) {
    auto* help = widget<QPlainTextEdit>(QStringLiteral("Text5"));
    auto* desktop = widget<QToolButton>(QStringLiteral("Toolbar1(1)"));
    ASSERT_NE(desktop, nullptr);
    ASSERT_FALSE(window->form().Text5.text().isEmpty());
    EXPECT_TRUE(help->toPlainText().isEmpty());
    EXPECT_TRUE(desktop->icon().isNull());
    int ran = 0;
    view->afterFirstFrame([&ran] { ++ran; });
    EXPECT_EQ(ran, 0);
    load();
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(help->toPlainText(),
              QString(window->form().Text5.text()).replace(U("\r\n"), U("\n")));
    EXPECT_FALSE(desktop->icon().isNull());
    view->afterFirstFrame([&ran] { ++ran; });
    EXPECT_EQ(ran, 2) << "after the first frame, work runs at once";
}

TEST_F(QuilletWindowTest, CaptionOptionAndSizeAreTheDesigns) {
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Quillet"));
    EXPECT_TRUE(widget<QAbstractButton>(QStringLiteral("Option1(1)"))->isChecked());
    EXPECT_FALSE(widget<QAbstractButton>(QStringLiteral("Option1(0)"))->isChecked());
    EXPECT_EQ(client()->width(), view->toPixels(Form1::kClientWidth));
    EXPECT_EQ(client()->height(), view->toPixels(Form1::kClientHeight));
    EXPECT_EQ(view->toPixels(1440), view->logicalDpiY());
}

TEST_F(QuilletWindowTest, FrameChildrenArePlacedInsideTheirFrame) {
    auto* check5 = widget<QWidget>(QStringLiteral("Check5"));
    EXPECT_EQ(check5->parentWidget(), widget<QWidget>(QStringLiteral("Frame4")));
    const Twips& at = window->form().Check5.geometry();
    EXPECT_EQ(check5->x(), view->toPixels(at.left));
    EXPECT_GE(check5->y(), view->toPixels(at.top));
    EXPECT_EQ(widget<QWidget>(QStringLiteral("Text5"))->parentWidget(),
              widget<QWidget>(QStringLiteral("panel")));
}

TEST_F(QuilletWindowTest, ListShowsTwoColumnsWithHeadersAndTheModelsRows) {
    load();
    QAbstractItemModel* model = list()->model();
    ASSERT_EQ(model->columnCount(), 2);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), U("元のファイル名"));
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), U("新しいファイル名"));
    EXPECT_EQ(list()->header()->sectionSize(1),
              view->toPixels(LV().columnWidth(ListColumn::NewName)));
    ASSERT_EQ(model->rowCount(), LV().rowCount());
    ASSERT_EQ(model->rowCount(), 3) << "the three pictures, not the text file";
    for (int row = 1; row <= LV().rowCount(); ++row) {
        const QModelIndex name = model->index(row - 1, 0);
        const QModelIndex newName = model->index(row - 1, 1);
        EXPECT_EQ(name.data().toString(), LV().row(row).text);
        EXPECT_EQ(newName.data().toString(), LV().row(row).newName);
        EXPECT_EQ(newName.data(Qt::ForegroundRole).value<QColor>() == QColor(0, 0, 255),
                  LV().row(row).newNameBlue);
    }
}

TEST_F(QuilletWindowTest, ModelChangesReachTheWidgetsAfterStartUp) {
    load();
    EXPECT_EQ(widget<QLineEdit>(QStringLiteral("Text1"))->text(), window->form().Text1.text());
    EXPECT_EQ(widget<QLineEdit>(QStringLiteral("Text2"))->text(), window->form().Text2.text());
    EXPECT_EQ(widget<QComboBox>(QStringLiteral("Combo1"))->currentIndex(),
              window->form().Combo1.listIndex());
    EXPECT_EQ(widget<QLabel>(QStringLiteral("SBar.Path"))->text(),
              QString::fromUtf8(folder.path()));
    // Start-up parks the help sheet below the window.
    EXPECT_GE(widget<QWidget>(QStringLiteral("panel"))->y(), client()->height());
}

TEST_F(QuilletWindowTest, ListCheckBoxClickReachesTheModel) {
    load();
    std::vector<int> itemChecks;
    auto handler = LV().ItemCheck;
    LV().ItemCheck = [&](int row) {
        itemChecks.push_back(row);
        if (handler) handler(row);
    };
    const QModelIndex second = list()->model()->index(1, 0);
    QStyleOptionViewItem option;
    option.initFrom(list());
    option.rect = list()->visualRect(second);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = second.data().toString();
    const QRect box =
        list()->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list());
    ClickAt(list()->viewport(), box.center());
    settle();

    EXPECT_FALSE(LV().row(2).checked);
    EXPECT_TRUE(LV().row(1).checked);
    EXPECT_EQ(itemChecks, std::vector<int>{2});
    EXPECT_EQ(second.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
}

TEST_F(QuilletWindowTest, UsersRowSelectionIsTheLists) {
    load();
    const auto selectedRows = [this] {
        std::vector<int> rows;
        for (int row = 1; row <= LV().rowCount(); ++row)
            if (LV().row(row).selected) rows.push_back(row);
        return rows;
    };
    // Clicks on rows (from 0), with Ctrl held or not, and the rows (from 1) selected after each.
    const struct {
        int row;
        Qt::KeyboardModifiers keys;
        std::vector<int> selected;
    } clicks[] = {{2, {}, {3}},
                  {0, {}, {1}},
                  {1, Qt::ControlModifier, {1, 2}},
                  {0, Qt::ControlModifier, {2}},
                  {2, Qt::ShiftModifier, {1, 2, 3}},
                  {0, {}, {1}}};
    for (const auto& click : clicks) {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, click.keys, rowCenter(click.row));
        settle();
        EXPECT_EQ(selectedRows(), click.selected) << "after a click on row " << click.row;
        EXPECT_EQ(static_cast<int>(selectedRows().size()),
                  list()->selectionModel()->selectedRows().size());
    }
}

// A header change makes the list lay out all its rows again, at every step of a pass that is
// drawn: the passes that only write rows leave the headers alone.
TEST_F(QuilletWindowTest, NamingPassesAndChecksDoNotTouchTheListsHeaders) {
    load();
    int announced = 0;
    QObject::connect(list()->model(), &QAbstractItemModel::headerDataChanged, [&] { ++announced; });
    window->form().Text1.setText(QStringLiteral("trip_"));
    settle();
    LV().userSetChecked(2, false);
    settle();
    EXPECT_EQ(LV().row(3).newName, QStringLiteral("trip_2.jpg")) << "the passes ran";
    EXPECT_EQ(announced, 0);
}

// The user's selection and current row belong to files, not to places in the list: a click on
// the descending box puts the rows in reverse, and both go along with their files.
TEST_F(QuilletWindowTest, SelectionAndCurrentRowFollowTheirFilesThroughAReSort) {
    load();
    auto shownNames = [this] {
        QStringList names;
        for (int row = 0; row < list()->model()->rowCount(); ++row)
            names << list()->model()->index(row, 0).data().toString();
        return names;
    };
    ASSERT_EQ(shownNames(),
              (QStringList{QStringLiteral("IMG_0001.jpg"), QStringLiteral("IMG_0002.jpg"),
                           QStringLiteral("IMG_0003.jpg")}));
    ClickAt(list()->viewport(), rowCenter(0));
    settle();
    list()->selectionModel()->setCurrentIndex(list()->model()->index(1, 1),
                                              QItemSelectionModel::NoUpdate);
    int resets = 0;
    QObject::connect(list()->model(), &QAbstractItemModel::modelReset, [&] { ++resets; });
    PaintCounter paints;
    list()->viewport()->installEventFilter(&paints);

    widget<QAbstractButton>(QStringLiteral("Check2"))->click();
    settle();

    EXPECT_EQ(resets, 0) << "the same rows were only put in another order";
    EXPECT_EQ(shownNames(),
              (QStringList{QStringLiteral("IMG_0003.jpg"), QStringLiteral("IMG_0002.jpg"),
                           QStringLiteral("IMG_0001.jpg")}));
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(LV().row(row).selected, LV().row(row).text == QLatin1String("IMG_0001.jpg"))
            << row;
    }
    const QModelIndexList selected = list()->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0].data().toString(), QStringLiteral("IMG_0001.jpg"));
    const QModelIndex current = list()->currentIndex();
    EXPECT_EQ(current.siblingAtColumn(0).data().toString(), QStringLiteral("IMG_0002.jpg"));
    EXPECT_EQ(current.column(), 1);
    // What is drawn is the new order: the top row on screen is the last file.
    EXPECT_GT(paints.paints, 0);
    EXPECT_EQ(list()->indexAt(rowCenter(0)).data().toString(), QStringLiteral("IMG_0003.jpg"));
}

struct MenuCase {
    const char* name;
    Qt::MouseButton button;
    bool opens;
};

class ListRelease : public QuilletWindowTest, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(ListRelease, OpensTheListMenuOnlyForTheRightButton) {
    load();
    QStringList captions;
    QStringList names;
    int separators = 0;
    bool opened = false;
    // Whatever opens is looked at, then "select all" is chosen from it.
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        opened = true;
        for (QAction* action : menu->actions()) {
            names.push_back(action->objectName());
            if (action->isSeparator()) {
                ++separators;
            } else {
                captions.push_back(action->text());
            }
        }
        menu->setActiveAction(menu->actions().value(0));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(menu, &enter);
    });
    const QPoint at = rowCenter(0);
    SendMouse(list()->viewport(), QEvent::MouseButtonPress, at, GetParam().button);
    SendMouse(list()->viewport(), QEvent::MouseButtonRelease, at, GetParam().button);
    settle();

    ASSERT_EQ(opened, GetParam().opens);
    if (!opened) return;
    EXPECT_EQ(captions, (QStringList{U("すべて選択"), U("選択の切り替え"), U("チェック状態にする"),
                                     U("チェックを外す(除外)"), U("チェックを反転する")}));
    EXPECT_EQ(separators, 1);
    EXPECT_EQ(names.value(2), QStringLiteral("menu_dmy1"));
    for (int row = 1; row <= LV().rowCount(); ++row) {
        EXPECT_TRUE(LV().row(row).selected) << row;
        EXPECT_TRUE(list()->selectionModel()->isRowSelected(row - 1, {})) << row;
    }
}

INSTANTIATE_TEST_SUITE_P(Buttons, ListRelease,
                         ::testing::Values(MenuCase{"Left", Qt::LeftButton, false},
                                           MenuCase{"Middle", Qt::MiddleButton, false},
                                           MenuCase{"Right", Qt::RightButton, true}),
                         [](const auto& info) { return std::string(info.param.name); });

struct TabCase {
    const char* name;
    std::function<void(QTabBar*)> act;
    QStringList events;
    int shownTab;  // 1-based
    const char* shownFrame;
};

class TabChange : public QuilletWindowTest, public ::testing::WithParamInterface<TabCase> {};

TEST_P(TabChange, AsksTheModelBeforeTheTabChanges) {
    load();
    TabStrip& tabs = window->form().TabStrip1;
    QStringList events;
    auto before = tabs.BeforeClick;
    auto after = tabs.Click;
    tabs.BeforeClick = [&](bool& cancel) {
        events.push_back(QStringLiteral("BeforeClick %1").arg(tabs.selectedIndex()));
        if (before) before(cancel);
    };
    tabs.Click = [&] {
        events.push_back(QStringLiteral("Click %1").arg(tabs.selectedIndex()));
        if (after) after();
    };
    auto* bar = widget<QTabBar>(QStringLiteral("TabStrip1"));
    GetParam().act(bar);
    settle();

    EXPECT_EQ(events, GetParam().events);
    EXPECT_EQ(bar->currentIndex() + 1, GetParam().shownTab);
    EXPECT_EQ(tabs.selectedIndex(), GetParam().shownTab);
    EXPECT_FALSE(widget<QWidget>(QString::fromUtf8(GetParam().shownFrame))->isHidden());
}

void ClickTab(QTabBar* bar, int index) {
    ClickAt(bar, bar->tabRect(index).center());
}

void PressKey(QTabBar* bar, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(bar, &press);
}

INSTANTIATE_TEST_SUITE_P(
    ByMouseAndKeyboard, TabChange,
    ::testing::Values(
        TabCase{"MouseOnSecondTab",
                [](QTabBar* bar) { ClickTab(bar, 1); },
                {QStringLiteral("BeforeClick 1"), QStringLiteral("Click 2")},
                2,
                "Frame3"},
        TabCase{"KeyRightToSecondTab",
                [](QTabBar* bar) { PressKey(bar, Qt::Key_Right); },
                {QStringLiteral("BeforeClick 1"), QStringLiteral("Click 2")},
                2,
                "Frame3"},
        // In standard mode the third tab is refused; the bar shows what the model keeps.
        TabCase{
            "MouseOnThirdTabInStandardMode",
            [](QTabBar* bar) { ClickTab(bar, 2); },
            {QStringLiteral("BeforeClick 1"), QStringLiteral("Click 3"), QStringLiteral("Click 1")},
            1,
            "Frame2"}),
    [](const auto& info) { return std::string(info.param.name); });

struct MouseCase {
    const char* name;
    Qt::MouseButton button;
    int code;
};

class StatusBarMouse : public QuilletWindowTest, public ::testing::WithParamInterface<MouseCase> {};

TEST_P(StatusBarMouse, RaisesDownUpAndClickForTheWholeBar) {
    load();
    StatusBar& bar = window->form().SBar;
    QStringList events;
    bar.MouseDown = [&](int button, int, float, float) {
        events.push_back(QStringLiteral("MouseDown %1").arg(button));
    };
    bar.MouseUp = [&](int button, int, float, float) {
        events.push_back(QStringLiteral("MouseUp %1").arg(button));
    };
    bar.Click = [&] { events.push_back(QStringLiteral("Click")); };
    auto* statusBar = widget<QStatusBar>(QStringLiteral("SBar"));
    // Over the second panel: the whole bar answers, whichever panel is under the mouse.
    const QWidget* second = widget<QWidget>(QStringLiteral("SBar.File"));
    ASSERT_TRUE(statusBar->rect().contains(second->geometry().center()));
    ClickAt(statusBar, second->geometry().center(), GetParam().button);

    const QString code = QString::number(GetParam().code);
    EXPECT_EQ(events, (QStringList{QStringLiteral("MouseDown ") + code,
                                   QStringLiteral("MouseUp ") + code, QStringLiteral("Click")}));
}

INSTANTIATE_TEST_SUITE_P(Buttons, StatusBarMouse,
                         ::testing::Values(MouseCase{"Left", Qt::LeftButton, 1},
                                           MouseCase{"Right", Qt::RightButton, 2},
                                           MouseCase{"Middle", Qt::MiddleButton, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(QuilletWindowTest, ExtendedModeStatusBarClickOpensTheFolderDialogOnTheListedFolder) {
    load();
    widget<QAbstractButton>(QStringLiteral("Command3"))->click();
    settle();
    EXPECT_EQ(widget<QTabBar>(QStringLiteral("TabStrip1"))->currentIndex(), 2);
    EXPECT_FALSE(widget<QWidget>(QStringLiteral("Text4"))->isHidden());
    EXPECT_FALSE(widget<QLineEdit>(QStringLiteral("Text3"))->isReadOnly());
    auto* path = widget<QLabel>(QStringLiteral("SBar.Path"));
    EXPECT_EQ(path->frameShadow(), QFrame::Raised);

    ClickAt(widget<QStatusBar>(QStringLiteral("SBar")), path->geometry().center());
    ASSERT_EQ(folderPicker.calls.size(), 1u);
    EXPECT_EQ(folderPicker.calls[0].second, QString::fromUtf8(folder.path()));
}

TEST_F(QuilletWindowTest, HelpSheetSlidesUpAndDownDrawingEveryStep) {
    load();
    auto* sheet = widget<QWidget>(QStringLiteral("panel"));
    PaintCounter counter;
    sheet->installEventFilter(&counter);

    widget<QAbstractButton>(QStringLiteral("Command4"))->click();
    EXPECT_EQ(sheet->y(), 0);
    EXPECT_GE(sheet->height(), client()->height());
    // Each step of the slide is drawn before the next one is taken, without the event loop.
    EXPECT_GT(counter.paints, 100);

    counter.paints = 0;
    ClickAt(widget<QWidget>(QStringLiteral("Label2(0)")), QPoint(2, 2));
    EXPECT_GE(sheet->y(), client()->height());
    EXPECT_GT(counter.paints, 100);
    sheet->removeEventFilter(&counter);
}

TEST_F(QuilletWindowTest, APassDrawsItsProgressAtMostOncePerInterval) {
    for (int i = 1; i <= 300; ++i)
        folder.write(QByteArray("IMG_") + QByteArray::number(i) + ".jpg", "");
    load();
    auto* bar = widget<QProgressBar>(QStringLiteral("PB1"));
    PaintCounter counter;
    bar->installEventFilter(&counter);
    // Each prefix runs a naming pass of a hundred progress steps over the rows. However fast
    // or slow the machine, a pass draws at most one step per interval, none in the first.
    QElapsedTimer clock;
    clock.start();
    const char* const typed[] = {"t", "tr", "tri", "trip"};
    for (const char* prefix : typed) window->form().Text1.setText(QString::fromUtf8(prefix));
    const qint64 elapsed = clock.elapsed();
    bar->removeEventFilter(&counter);
    EXPECT_LE(counter.paints, static_cast<int>(elapsed / 50));
    EXPECT_LT(counter.paints, 400) << "a paint on every step";
    EXPECT_TRUE(bar->isHidden());
}

// Showing the bar and taking it away would have the list rows under it drawn again after
// every keystroke, for a bar that no one could see.
TEST_F(QuilletWindowTest, APassTooShortToDrawNeverShowsItsProgressBar) {
    load();
    auto* bar = widget<QProgressBar>(QStringLiteral("PB1"));
    struct ShowCounter : QObject {
        int shows = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Show) ++shows;
            return false;
        }
    } counter;
    bar->installEventFilter(&counter);
    window->form().Text1.setText(QStringLiteral("trip_"));
    settle();
    ASSERT_EQ(LV().row(3).newName, QStringLiteral("trip_3.jpg")) << "the pass ran";
    EXPECT_EQ(counter.shows, 0);
    EXPECT_TRUE(bar->isHidden());
}

TEST_F(QuilletWindowTest, ExtraRoomGoesToTheList) {
    load();
    const QRect listBefore = list()->geometry();
    const QRect text1Before = widget<QWidget>(QStringLiteral("Text1"))->geometry();
    auto* statusBar = widget<QWidget>(QStringLiteral("SBar"));
    view->resize(view->width() + 200, view->height() + 150);
    settle();
    EXPECT_EQ(list()->geometry(), listBefore.adjusted(0, 0, 200, 150));
    EXPECT_EQ(widget<QWidget>(QStringLiteral("Text1"))->geometry(), text1Before);
    EXPECT_EQ(statusBar->geometry().bottom(), client()->height() - 1);
    EXPECT_EQ(statusBar->width(), client()->width());
}

}  // namespace
}  // namespace quillet::test
