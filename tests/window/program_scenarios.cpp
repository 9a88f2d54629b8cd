#include "program_scenarios.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <cstdio>
#include <cstdlib>

#include "view/quillet_window.h"

namespace quillet::e2e {
namespace {

[[noreturn]] void Fail(const QString& why) {
    std::fprintf(stderr, "scenario failed: %s\n", why.toUtf8().constData());
    std::fflush(nullptr);
    std::_Exit(kScenarioFailed);
}

// What the session saw, one "key=value" line each, for the test that started it.
void Report(const QString& key, const QString& value) {
    std::printf("%s=%s\n", key.toUtf8().constData(), value.toUtf8().constData());
    std::fflush(stdout);
}

// What an action leaves for the event loop (the list is drawn once its handler has finished)
// is done before the session looks; handlers themselves run to their end at once.
void HandlePosted() {
    QCoreApplication::sendPostedEvents();
    QApplication::processEvents();
}

// Waits until `condition` holds, as long as a person would; a session that never gets there
// fails with `what`.
void WaitFor(const std::function<bool()>& condition, const QString& what) {
    if (!QTest::qWaitFor(condition, 10000)) Fail(QStringLiteral("waited in vain: ") + what);
}

template <typename W>
W* Find(QWidget& root, const char* name) {
    W* found = root.findChild<W*>(QString::fromUtf8(name));
    if (!found) Fail(QStringLiteral("no widget named ") + QString::fromUtf8(name));
    return found;
}

// The main states of the window, kept for the README.
void Photograph(QWidget* widget, const char* file) {
    const QString folder = qEnvironmentVariable("QUILLET_SHOTS");
    if (folder.isEmpty()) return;
    WaitFor([widget] { return widget->isVisible(); }, QStringLiteral("the window to show"));
    HandlePosted();
    QDir().mkpath(folder);
    if (!widget->grab().save(folder + QLatin1Char('/') + QString::fromUtf8(file)))
        Fail(QStringLiteral("cannot save ") + QString::fromUtf8(file));
}

void TypeInto(QLineEdit* edit, const QString& text) {
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    WaitFor([edit, text] { return edit->text() == text; }, QStringLiteral("the typed text"));
    HandlePosted();
}

void Click(QWidget* widget) {
    if (!widget->isVisible() || !widget->isEnabled())
        Fail(widget->objectName() + QStringLiteral(" cannot be clicked"));
    QTest::mouseClick(widget, Qt::LeftButton);
    HandlePosted();
}

QPoint CheckBoxOf(QTreeView* list, int row) {
    const QModelIndex index = list->model()->index(row - 1, 0);
    QStyleOptionViewItem option;
    option.initFrom(list);
    option.rect = list->visualRect(index);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = index.data().toString();
    return list->style()
        ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list)
        .center();
}

void ClickCheckBoxOfRow(QTreeView* list, int row) {
    const QModelIndex box = list->model()->index(row - 1, 0);
    const QVariant before = box.data(Qt::CheckStateRole);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, CheckBoxOf(list, row));
    WaitFor([box, before] { return box.data(Qt::CheckStateRole) != before; },
            QStringLiteral("the row's check mark to change"));
    HandlePosted();
}

QStringList Column(QTreeView* list, int column) {
    QStringList texts;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        texts.push_back(list->model()->index(row, column).data().toString());
    return texts;
}

int CheckedRows(QTreeView* list) {
    int checked = 0;
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        if (list->model()->index(row, 0).data(Qt::CheckStateRole).value<Qt::CheckState>() ==
            Qt::Checked)
            ++checked;
    }
    return checked;
}

// Acts on the next modal window as soon as it is up: message boxes and the folder dialog run
// their own event loop, so the session can only reach them from a timer.
void WhenModal(std::function<bool(QWidget*)> act) {
    auto* poll = new QTimer(qApp);
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        if (!act(modal)) Fail(QStringLiteral("unexpected window: ") + modal->windowTitle());
    });
    poll->start();
}

// Answers the confirmation with the button of this caption, the way the user does.
void AnswerConfirmation(const QString& button, const char* shot = nullptr) {
    WhenModal([button, shot](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) return false;
        Report(QStringLiteral("box-title"), box->windowTitle());
        Report(QStringLiteral("box-text"),
               box->text().replace(QLatin1Char('\n'), QLatin1Char('|')).remove(QLatin1Char('\r')));
        if (shot) Photograph(box, shot);
        for (QAbstractButton* candidate : box->buttons()) {
            if (candidate->text() == button) {
                QTest::mouseClick(candidate, Qt::LeftButton);
                return true;
            }
        }
        Fail(QStringLiteral("the box has no button ") + button);
    });
}

void ChooseFromListMenu(QuilletWindow& view, const QString& caption) {
    QTreeView* list = view.listView();
    auto* poll = new QTimer(qApp);
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, caption] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || !menu->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        for (QAction* action : menu->actions()) {
            if (action->text() == caption) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
                return;
            }
        }
        Fail(QStringLiteral("the menu has no entry ") + caption);
    });
    poll->start();
    const QRect first = list->visualRect(list->model()->index(0, 1));
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, first.center());
    WaitFor([poll] { return !poll->isActive(); }, QStringLiteral("the list's menu"));
    HandlePosted();
}

void LeaveOpen() {
    std::fflush(nullptr);
    QCoreApplication::exit(kWindowStayedOpen);
}

void ProgramShouldHaveEnded() {
    Report(QStringLiteral("still-running"), QStringLiteral("yes"));
    std::fflush(nullptr);
    std::_Exit(kStillRunning);
}

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The typical run: a new prefix, two files left out, executed and confirmed.
void TypicalRun(QuilletWindow& view) {
    TypeInto(Find<QLineEdit>(view, "Text1"), QStringLiteral("trip_"));
    ClickCheckBoxOfRow(view.listView(), 2);
    ClickCheckBoxOfRow(view.listView(), 4);
    Report(QStringLiteral("new-names"), Column(view.listView(), 1).join(QLatin1Char('|')));
    Photograph(&view, "quillet-window.png");
    AnswerConfirmation(U("はい"), "quillet-confirm.png");
    Click(Find<QPushButton>(view, "Command1"));
    ProgramShouldHaveEnded();
}

void DeclinedRun(QuilletWindow& view) {
    TypeInto(Find<QLineEdit>(view, "Text1"), QStringLiteral("trip_"));
    AnswerConfirmation(U("いいえ"));
    Click(Find<QPushButton>(view, "Command1"));
    Report(QStringLiteral("window-visible"),
           view.isVisible() ? QStringLiteral("yes") : QStringLiteral("no"));
    Report(QStringLiteral("new-names"), Column(view.listView(), 1).join(QLatin1Char('|')));
    LeaveOpen();
}

// Extended mode: another wildcard and extension, another folder chosen in the real dialog,
// and a pass after which the window lists the folder afresh.
void ExtendedRun(QuilletWindow& view) {
    Click(Find<QPushButton>(view, "Command3"));
    TypeInto(Find<QLineEdit>(view, "Text4"), QStringLiteral("*.png"));
    TypeInto(Find<QLineEdit>(view, "Text3"), QStringLiteral("png"));
    const QString other = qEnvironmentVariable("QUILLET_OTHER_FOLDER");
    WhenModal([other](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) return false;
        Report(QStringLiteral("dialog-title"), dialog->windowTitle());
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!name) Fail(QStringLiteral("the folder dialog has no name field"));
        // Without a window manager nobody activates the dialog; a user's typing goes to the
        // focused field of the active window, and the dialog completes names only there.
        dialog->activateWindow();
        QApplication::setActiveWindow(dialog);
        name->setFocus();
        QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(name, other);
        WaitFor([name, other] { return name->text() == other; },
                QStringLiteral("the typed folder"));
        Report(QStringLiteral("dialog-typed"),
               name->text() + QStringLiteral(" in ") + dialog->directory().path());
        auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        QPushButton* choose = buttons ? buttons->button(QDialogButtonBox::Open) : nullptr;
        if (!choose) Fail(QStringLiteral("the folder dialog has no button to choose"));
        // The first click may only close the name completion's pop-up.
        for (int attempt = 0; attempt < 3 && dialog->isVisible(); ++attempt) {
            QTest::mouseClick(choose, Qt::LeftButton);
            if (QTest::qWaitFor([dialog] { return !dialog->isVisible(); }, 1000)) break;
        }
        return true;
    });
    Click(Find<QStatusBar>(view, "SBar"));
    Report(QStringLiteral("listed-folder"), Find<QLabel>(view, "SBar.Path")->text());
    Report(QStringLiteral("old-names"), Column(view.listView(), 0).join(QLatin1Char('|')));
    TypeInto(Find<QLineEdit>(view, "Text1"), QStringLiteral("page_"));
    Report(QStringLiteral("new-names"), Column(view.listView(), 1).join(QLatin1Char('|')));
    Photograph(&view, "quillet-extended.png");
    AnswerConfirmation(U("はい"));
    Click(Find<QPushButton>(view, "Command1"));
    Report(QStringLiteral("window-visible"),
           view.isVisible() ? QStringLiteral("yes") : QStringLiteral("no"));
    Report(QStringLiteral("listed-after"), Column(view.listView(), 0).join(QLatin1Char('|')));
    Report(QStringLiteral("status-hint"), Find<QStatusBar>(view, "SBar")->toolTip());
    LeaveOpen();
}

// Extended mode on a folder where a new name is already taken by a file that is not listed:
// the row that would keep its name, as the window shows it before execution, then the pass.
void FailureMarksRun(QuilletWindow& view) {
    Click(Find<QPushButton>(view, "Command3"));
    TypeInto(Find<QLineEdit>(view, "Text4"), QStringLiteral("IMG*"));
    TypeInto(Find<QLineEdit>(view, "Text1"), QStringLiteral("trip_"));
    Report(QStringLiteral("old-names"), Column(view.listView(), 0).join(QLatin1Char('|')));
    Report(QStringLiteral("new-names"), Column(view.listView(), 1).join(QLatin1Char('|')));
    QTreeView* list = view.listView();
    Report(QStringLiteral("first-tool-tip"),
           list->model()->index(0, 1).data(Qt::ToolTipRole).toString());
    QStringList marked;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        if (!list->model()->index(row, 1).data(Qt::DecorationRole).isNull())
            marked << list->model()->index(row, 0).data().toString();
    Report(QStringLiteral("marked"), marked.join(QLatin1Char('|')));
    Report(QStringLiteral("count-tool-tip"), Find<QLabel>(view, "SBar.File")->toolTip());
    Photograph(&view, "quillet-failure-marks.png");
    AnswerConfirmation(U("はい"));
    Click(Find<QPushButton>(view, "Command1"));
    Report(QStringLiteral("listed-after"), Column(view.listView(), 0).join(QLatin1Char('|')));
    Report(QStringLiteral("status-hint"), Find<QStatusBar>(view, "SBar")->toolTip());
    LeaveOpen();
}

// Attribute-only mode: Read-only on the first two files, the others left out.
void ReadOnlyRun(QuilletWindow& view) {
    auto* tabs = Find<QTabBar>(view, "TabStrip1");
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    WaitFor([tabs] { return tabs->currentIndex() == 1; }, QStringLiteral("the second tab"));
    HandlePosted();
    Click(Find<QCheckBox>(view, "Check6"));
    Click(Find<QCheckBox>(view, "Check7(0)"));
    ClickCheckBoxOfRow(view.listView(), 3);
    ClickCheckBoxOfRow(view.listView(), 4);
    Report(QStringLiteral("new-names"), Column(view.listView(), 1).join(QLatin1Char('|')));
    AnswerConfirmation(U("はい"));
    Click(Find<QPushButton>(view, "Command1"));
    ProgramShouldHaveEnded();
}

// The list's pop-up menu: all rows selected, unchecked, checked again; and the help sheet.
void ListMenuRun(QuilletWindow& view) {
    Click(Find<QPushButton>(view, "Command4"));
    Photograph(&view, "quillet-help.png");
    Report(QStringLiteral("help-raised"), QString::number(Find<QWidget>(view, "panel")->y()));
    QTest::mouseClick(Find<QLabel>(view, "Label2(1)"), Qt::LeftButton);
    HandlePosted();
    Report(QStringLiteral("help-parked"),
           Find<QWidget>(view, "panel")->y() >= Find<QWidget>(view, "client")->height()
               ? QStringLiteral("yes")
               : QStringLiteral("no"));

    QTreeView* list = view.listView();
    ChooseFromListMenu(view, U("すべて選択"));
    Report(QStringLiteral("selected"),
           QString::number(list->selectionModel()->selectedRows().size()));
    ChooseFromListMenu(view, U("チェックを外す(除外)"));
    Report(QStringLiteral("checked-after-uncheck"), QString::number(CheckedRows(list)));
    Report(QStringLiteral("execute-enabled"), Find<QPushButton>(view, "Command1")->isEnabled()
                                                  ? QStringLiteral("yes")
                                                  : QStringLiteral("no"));
    ChooseFromListMenu(view, U("チェック状態にする"));
    Report(QStringLiteral("checked-after-check"), QString::number(CheckedRows(list)));
    Report(QStringLiteral("new-names"), Column(list, 1).join(QLatin1Char('|')));
    LeaveOpen();
}

void CancelRun(QuilletWindow& view) {
    Click(Find<QPushButton>(view, "Command2"));
    ProgramShouldHaveEnded();
}

// The close button of the window's frame, as the window system delivers it.
void CloseRun(QuilletWindow& view) {
    view.close();
}

// Where every control's widget stands and whether its text fits, for the layout check.
void LayoutRun(QuilletWindow& view) {
    WaitFor([&view] { return QTest::qWaitForWindowExposed(&view, 100); },
            QStringLiteral("the window on screen"));
    HandlePosted();
    Report(QStringLiteral("device-pixel-ratio"), QString::number(view.devicePixelRatioF()));
    QWidget* client = Find<QWidget>(view, "client");
    // The help sheet waits below the window until it is called; it is not part of the layout.
    QWidget* sheet = Find<QWidget>(view, "panel");
    for (QWidget* widget : view.findChildren<QWidget*>()) {
        if (sheet->isAncestorOf(widget)) continue;
        const QString name = widget->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || !widget->isVisibleTo(&view))
            continue;
        if (widget == client || widget->window() != &view || !client->isAncestorOf(widget))
            continue;
        const QRect at(widget->mapTo(client, QPoint(0, 0)), widget->size());
        // The room the widget's own text asks for.
        QSize needed(0, 0);
        const QFontMetrics metrics = widget->fontMetrics();
        // Heights count the ink of the text: the face's line height is larger than the rows the
        // window was designed with, and its empty part may be cut without losing anything.
        if (qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget)) {
            const QString text = static_cast<QAbstractButton*>(widget)->text();
            needed = QSize(widget->sizeHint().width(), metrics.tightBoundingRect(text).height());
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            needed =
                QSize(label->sizeHint().width(), metrics.tightBoundingRect(label->text()).height());
        } else if (auto* push = qobject_cast<QPushButton*>(widget)) {
            needed =
                QSize(metrics.horizontalAdvance(push->text()) +
                          2 * push->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, push),
                      metrics.tightBoundingRect(push->text()).height());
        } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
            needed = QSize(metrics.horizontalAdvance(frame->title()) + 2 * metrics.height(), 0);
        } else if (qobject_cast<QLineEdit*>(widget)) {
            needed = QSize(0, metrics.height());
        }
        // Inside a frame means below its title and within its border.
        QWidget* holder = widget->parentWidget();
        const QRect inner =
            qobject_cast<QGroupBox*>(holder) ? holder->contentsRect() : holder->rect();
        const QRect parent = holder == client
                                 ? client->rect()
                                 : inner.translated(holder->mapTo(client, QPoint(0, 0)));
        Report(QStringLiteral("widget.") + name,
               QStringLiteral("%1,%2,%3,%4 needs %5,%6 inside %7")
                   .arg(at.x())
                   .arg(at.y())
                   .arg(at.width())
                   .arg(at.height())
                   .arg(needed.width())
                   .arg(needed.height())
                   .arg(parent.contains(at) ? QStringLiteral("yes") : QStringLiteral("no")));
    }
    LeaveOpen();
}

}  // namespace

Scenario ScenarioNamed(const QString& name) {
    static const QHash<QString, Scenario> scenarios = {
        {QStringLiteral("typical"), TypicalRun},
        {QStringLiteral("declined"), DeclinedRun},
        {QStringLiteral("extended"), ExtendedRun},
        {QStringLiteral("read-only"), ReadOnlyRun},
        {QStringLiteral("list-menu"), ListMenuRun},
        {QStringLiteral("cancel"), CancelRun},
        {QStringLiteral("close"), CloseRun},
        {QStringLiteral("layout"), LayoutRun},
        {QStringLiteral("failure-marks"), FailureMarksRun},
    };
    return scenarios.value(name);
}

}  // namespace quillet::e2e
