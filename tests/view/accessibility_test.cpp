#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QTreeView>
#include <functional>

#include "preview/rename_marks.h"
#include "view/file_list_model.h"
#include "window_fixture.h"

namespace quillet::test {
namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

struct NameCase {
    const char* control;
    const char* name;
    const char* description;
};

std::string CaseName(const ::testing::TestParamInfo<NameCase>& info) {
    return TestNameOf(info.param.control);
}

class AccessibleName : public WindowFixture, public ::testing::WithParamInterface<NameCase> {};

// What a screen reader says for the control: its caption or role, then its tool tip.
TEST_P(AccessibleName, IsTheCaptionOrRoleWithTheToolTipAsDescription) {
    load();
    const NameCase& expected = GetParam();
    QWidget* found = widget<QWidget>(U(expected.control));
    ASSERT_NE(found, nullptr);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(found);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(found->accessibleName(), U(expected.name));
    // Qt on Linux reads a combo box's current item as its name and leaves the role to the
    // property; every other widget is read by the name it was given.
    if (!qobject_cast<QComboBox*>(found)) {
        EXPECT_EQ(accessible->text(QAccessible::Name), U(expected.name));
    }
    EXPECT_EQ(accessible->text(QAccessible::Description), U(expected.description));
}

INSTANTIATE_TEST_SUITE_P(
    Controls, AccessibleName,
    ::testing::Values(
        NameCase{"Text1", "前置文字列", "前置文字列を入力します"},
        NameCase{"Text2", "開始番号", "付番の開始値を入力します 桁数もそのまま反映されます"},
        NameCase{"Text3", "拡張子", "拡張子を入力します"},
        NameCase{"Text4", "ワイルドカード", "表示するファイルを指定します"},
        NameCase{"Text5", "使用説明", ""},
        NameCase{"Combo1", "ファイルの種類", "処理対象とするファイルの種類"},
        NameCase{"Command1", "実 行 ／ 終 了", "名前を変更して終了します"},
        NameCase{"Command2", "キャンセル", "現在の状態のまま終了します"},
        NameCase{"Command3", "拡張", "上級者用機能に拡張できます"},
        NameCase{"Command4", "Help", "簡単な使用説明です"}, NameCase{"Frame1", "対象ファイル", ""},
        NameCase{"Option1(1)", "末尾の値を重視", "拡張子の前にある数値を用いて整列します"},
        NameCase{"Check1", "元値使用", "元のファイルの値を使います"},
        NameCase{"Check7(0)", "読み取り専用", "読み取り専用属性(Readonly)にします"},
        NameCase{"Check5", "ランダムにする", "指定文字数分のランダムな前置文字を生成します"},
        NameCase{"Toolbar1(1)", "Desktop", "[デスクトップ]にショートカットを作成します"},
        NameCase{"Toolbar1(2)", "Sendto", "[送る]にショートカットを作成します"},
        NameCase{"LV", "ファイル一覧", ""}, NameCase{"Label2(1)", "戻る", ""}),
    CaseName);

class Keyboard : public WindowFixture {
  protected:
    void load() {
        WindowFixture::load();
        view->activateWindow();
        QApplication::setActiveWindow(view.get());
        settle();
    }
    QWidget* focused() const { return QApplication::focusWidget(); }
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(focused(), static_cast<Qt::Key>(key), modifiers);
        settle();
    }
    ListView& LV() { return window->form().LV; }
};

// The sort options are one stop, at the selected one, as a group of radio buttons is.
TEST_F(Keyboard, TabVisitsTheWindowFromTopToBottom) {
    load();
    widget<QWidget>(QStringLiteral("Text1"))->setFocus();
    QStringList visited;
    for (int i = 0; i < 40; ++i) {
        ASSERT_NE(focused(), nullptr);
        visited.push_back(focused()->objectName());
        press(Qt::Key_Tab);
        if (focused() && focused()->objectName() == QLatin1String("Text1")) break;
    }
    EXPECT_EQ(visited.join(QLatin1Char(' ')),
              QStringLiteral("Text1 Text2 Text3 Command3 Command4 Combo1 Command1 Command2 "
                             "TabStrip1 Option1(1) Check2 LV SBar"));
}

// Within the group the arrows choose, as with any radio buttons, and the model follows once.
TEST_F(Keyboard, ArrowsInTheSortOptionsChooseTheNextOption) {
    load();
    OptionGroup& sort = window->form().Option1;
    int raised = 0;
    auto handler = sort.Click;
    sort.Click = [&raised, handler](int index) {
        ++raised;
        handler(index);
    };
    // From the selected option, as the keyboard finds the group.
    widget<QWidget>(QStringLiteral("Option1(1)"))->setFocus();
    press(Qt::Key_Up);
    EXPECT_EQ(focused()->objectName(), QStringLiteral("Option1(2)"));
    EXPECT_EQ(sort.selectedIndex(), 2);
    EXPECT_EQ(raised, 1);
    int shown = 0;
    for (int index = 0; index < sort.count(); ++index)
        if (widget<QAbstractButton>(sort[index].name())->isChecked()) ++shown;
    EXPECT_EQ(shown, 1);
}

TEST_F(Keyboard, SpaceChecksAndUnchecksTheCurrentRowAndTheNamesFollow) {
    load();
    QTreeView* list = view->listView();
    list->setFocus();
    list->setCurrentIndex(list->model()->index(1, 1));
    const QString thirdBefore = LV().row(3).newName;

    press(Qt::Key_Space);
    EXPECT_FALSE(LV().row(2).checked);
    EXPECT_NE(LV().row(3).newName, thirdBefore) << "the names were not recomputed";
    EXPECT_EQ(list->model()->index(1, 0).data(Qt::CheckStateRole).value<Qt::CheckState>(),
              Qt::Unchecked);

    press(Qt::Key_Space);
    EXPECT_TRUE(LV().row(2).checked);
    EXPECT_EQ(LV().row(3).newName, thirdBefore);
}

TEST_F(Keyboard, TheMenuKeyOpensTheListMenu) {
    load();
    view->listView()->setFocus();
    view->listView()->setCurrentIndex(view->listModel()->index(0, 0));
    QStringList entries;
    QTimer::singleShot(0, [&entries] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions()) entries.push_back(action->text());
            menu->close();
        }
    });
    press(Qt::Key_Menu);
    EXPECT_EQ(entries.value(0), U("すべて選択"));
    EXPECT_EQ(entries.size(), 6);
}

TEST_F(Keyboard, TheStatusBarChoosesAFolderInExtendedMode) {
    load();
    window->form().Command3.click();
    settle();
    widget<QStatusBar>(QStringLiteral("SBar"))->setFocus();
    press(Qt::Key_Space);
    ASSERT_EQ(folderPicker.calls.size(), 1u);
    EXPECT_EQ(folderPicker.calls.front().first, U("開くフォルダを指定してください。"));
}

TEST_F(Keyboard, TheHelpSheetIsLeftWithTheKeyboard) {
    load();
    QWidget* sheet = widget<QWidget>(QStringLiteral("panel"));
    widget<QPushButton>(QStringLiteral("Command4"))->setFocus();
    press(Qt::Key_Space);
    EXPECT_EQ(sheet->y(), 0);
    ASSERT_NE(focused(), nullptr);
    EXPECT_EQ(focused()->objectName(), QStringLiteral("Label2(1)"));

    press(Qt::Key_Return);
    EXPECT_GE(sheet->y(), widget<QWidget>(QStringLiteral("client"))->height());
    EXPECT_EQ(focused()->objectName(), QStringLiteral("Command4"));
}

// Tool tips tell what the program itself never reports; they change nothing it does.
class ToolTips : public Keyboard {};

TEST_F(ToolTips, ARowWhoseNewNameIsTakenSaysSoBeforeExecution) {
    load();
    LV().setCell(1, ListColumn::NewName, QStringLiteral("notes.txt"));
    RenameMarks(window->platform().files).update(window->form());  // as a naming pass ends
    view->applyListChanges();
    const QString told = view->listModel()->index(0, 1).data(Qt::ToolTipRole).toString();
    EXPECT_TRUE(told.contains(U("「notes.txt」という名前のファイルがフォルダに既にある")))
        << told.toStdString();
    EXPECT_TRUE(view->listModel()->index(1, 1).data(Qt::ToolTipRole).toString().isEmpty());
}

TEST_F(ToolTips, TheStatusBarTellsHowManyFilesAnExtendedPassLeftUnrenamed) {
    load();
    window->form().Command3.click();
    settle();
    const int row = [this] {
        for (int r = 1; r <= LV().rowCount(); ++r)
            if (LV().row(r).text == QLatin1String("IMG_0001.jpg")) return r;
        return 0;
    }();
    ASSERT_GT(row, 0);
    // The note stays where it is, so the picture cannot take its name.
    for (int r = 1; r <= LV().rowCount(); ++r)
        if (LV().row(r).text == QLatin1String("notes.txt")) LV().userSetChecked(r, false);
    LV().setCell(row, ListColumn::NewName, QStringLiteral("notes.txt"));
    auto* bar = widget<QStatusBar>(QStringLiteral("SBar"));
    const QString panelBefore = window->form().SBar.panel(2).text;

    widget<QPushButton>(QStringLiteral("Command1"))->click();
    settle();

    EXPECT_TRUE(folder.exists("IMG_0001.jpg"));
    EXPECT_TRUE(bar->toolTip().contains(U("1 個のファイルの名前が変わりませんでした")))
        << bar->toolTip().toStdString();
    EXPECT_EQ(window->form().SBar.panel(2).text, panelBefore)
        << "the panel's own text is the program's";
}

// What the pointer resting at `at` on the status bar shows: Qt asks the bar, since its panels
// let the mouse through.
QString ToolTipShownAt(QStatusBar* bar, QPoint at) {
    // A tip fades out a moment after it is hidden; the pointer comes back only then.
    QToolTip::hideText();
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
    QHelpEvent hover(QEvent::ToolTip, at, bar->mapToGlobal(at));
    QApplication::sendEvent(bar, &hover);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

// The file-count panel tells, after every naming pass, how many checked files would keep their
// names; the pointer on it and a screen reader both get what the latest pass found.
TEST_F(ToolTips, TheFileCountPanelTellsHowManyCheckedFilesWouldKeepTheirNames) {
    // Folders hold the first and third new names; the list shows only files.
    folder.makeFolder("trip_1.jpg");
    folder.makeFolder("trip_3.jpg");
    load();
    auto* bar = widget<QStatusBar>(QStringLiteral("SBar"));
    auto* panel = widget<QLabel>(QStringLiteral("SBar.File"));
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(panel->isVisible());
    const QPoint onPanel = panel->geometry().center();
    const QString ofTheBar = ToolTipShownAt(bar, onPanel);
    EXPECT_EQ(ofTheBar, bar->toolTip()) << "before a name is taken, the panel has nothing to say";

    struct Step {
        const char* what;
        std::function<void()> act;
        QString told;
    };
    const Step steps[] = {
        {"two new names taken", [this] { window->form().Text1.setText(U("trip_")); },
         U("チェックしたファイルのうち 2 個は、実行しても名前が変わりません")},
        // The third picture moves up to the free second name.
        {"the second picture unchecked", [this] { LV().userSetChecked(2, false); },
         U("チェックしたファイルのうち 1 個は、実行しても名前が変わりません")},
        {"another prefix", [this] { window->form().Text1.setText(U("tour_")); }, QString()},
        {"the first name taken again", [this] { window->form().Text1.setText(U("trip_")); },
         U("チェックしたファイルのうち 1 個は、実行しても名前が変わりません")},
    };
    for (const Step& step : steps) {
        step.act();
        settle();
        EXPECT_EQ(window->form().SBar.panel(2).toolTip, step.told) << step.what;
        EXPECT_EQ(ToolTipShownAt(bar, onPanel), step.told.isEmpty() ? ofTheBar : step.told)
            << step.what;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(panel);
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->text(QAccessible::Description), step.told) << step.what;
    }
    QToolTip::hideText();
}

TEST_F(ToolTips, ADeclinedExecutionLeavesNoHint) {
    load();
    window->form().Command3.click();
    settle();
    LV().setCell(1, ListColumn::NewName, QStringLiteral("notes.txt"));
    feedback.answer = MessageAnswer::No;
    widget<QPushButton>(QStringLiteral("Command1"))->click();
    settle();
    EXPECT_EQ(widget<QStatusBar>(QStringLiteral("SBar"))->toolTip(), window->form().SBar.toolTip());
}

}  // namespace
}  // namespace quillet::test
