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

[[noreturn]] void fail(const QString& why) {
    std::fprintf(stderr, "scenario failed: %s\n", why.toUtf8().constData());
    std::fflush(nullptr);
    std::_Exit(kScenarioFailed);
}

// What the session saw, one "key=value" line each, for the test that started it.
void report(const QString& key, const QString& value) {
    std::printf("%s=%s\n", key.toUtf8().constData(), value.toUtf8().constData());
    std::fflush(stdout);
}

// What an action leaves for the event loop (the list is drawn once its handler has finished)
// is done before the session looks; handlers themselves run to their end at once.
void handlePosted() {
    QCoreApplication::sendPostedEvents();
    QApplication::processEvents();
}

// Waits until `condition` holds, as long as a person would; a session that never gets there
// fails with `what`.
void waitFor(const std::function<bool()>& condition, const QString& what) {
    if (!QTest::qWaitFor(condition, 10000)) fail(QStringLiteral("waited in vain: ") + what);
}

template <typename W>
W* find(QWidget& root, const char* name) {
    W* found = root.findChild<W*>(QString::fromUtf8(name));
    if (!found) fail(QStringLiteral("no widget named ") + QString::fromUtf8(name));
    return found;
}

// The main states of the window, kept for the README.
void photograph(QWidget* widget, const char* file) {
    const QString folder = qEnvironmentVariable("QUILLET_SHOTS");
    if (folder.isEmpty()) return;
    waitFor([widget] { return widget->isVisible(); }, QStringLiteral("the window to show"));
    handlePosted();
    QDir().mkpath(folder);
    if (!widget->grab().save(folder + QLatin1Char('/') + QString::fromUtf8(file)))
        fail(QStringLiteral("cannot save ") + QString::fromUtf8(file));
}

void typeInto(QLineEdit* edit, const QString& text) {
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    waitFor([edit, text] { return edit->text() == text; }, QStringLiteral("the typed text"));
    handlePosted();
}

void click(QWidget* widget) {
    if (!widget->isVisible() || !widget->isEnabled())
        fail(widget->objectName() + QStringLiteral(" cannot be clicked"));
    QTest::mouseClick(widget, Qt::LeftButton);
    handlePosted();
}

QPoint checkBoxOf(QTreeView* list, int row) {
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

void clickCheckBoxOfRow(QTreeView* list, int row) {
    const QModelIndex box = list->model()->index(row - 1, 0);
    const QVariant before = box.data(Qt::CheckStateRole);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, checkBoxOf(list, row));
    waitFor([box, before] { return box.data(Qt::CheckStateRole) != before; },
            QStringLiteral("the row's check mark to change"));
    handlePosted();
}

QStringList column(QTreeView* list, int column) {
    QStringList texts;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        texts.push_back(list->model()->index(row, column).data().toString());
    return texts;
}

int checkedRows(QTreeView* list) {
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
void whenModal(std::function<bool(QWidget*)> act) {
    auto* poll = new QTimer(qApp);
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        if (!act(modal)) fail(QStringLiteral("unexpected window: ") + modal->windowTitle());
    });
    poll->start();
}

// Answers the confirmation with the button of this caption, the way the user does.
void answerConfirmation(const QString& button, const char* shot = nullptr) {
    whenModal([button, shot](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) return false;
        report(QStringLiteral("box-title"), box->windowTitle());
        report(QStringLiteral("box-text"),
               box->text().replace(QLatin1Char('\n'), QLatin1Char('|')).remove(QLatin1Char('\r')));
        if (shot) photograph(box, shot);
        for (QAbstractButton* candidate : box->buttons()) {
            if (candidate->text() == button) {
                QTest::mouseClick(candidate, Qt::LeftButton);
                return true;
            }
        }
        fail(QStringLiteral("the box has no button ") + button);
    });
}

void chooseFromListMenu(QuilletWindow& view, const QString& caption) {
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
        fail(QStringLiteral("the menu has no entry ") + caption);
    });
    poll->start();
    const QRect first = list->visualRect(list->model()->index(0, 1));
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, first.center());
    waitFor([poll] { return !poll->isActive(); }, QStringLiteral("the list's menu"));
    handlePosted();
}

void leaveOpen() {
    std::fflush(nullptr);
    QCoreApplication::exit(kWindowStayedOpen);
}

void programShouldHaveEnded() {
    report(QStringLiteral("still-running"), QStringLiteral("yes"));
    std::fflush(nullptr);
    std::_Exit(kStillRunning);
}

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The typical run: a new prefix, two files left out, executed and confirmed.
void typicalRun(QuilletWindow& view) {
    typeInto(find<QLineEdit>(view, "Text1"), QStringLiteral("trip_"));
    clickCheckBoxOfRow(view.listView(), 2);
    clickCheckBoxOfRow(view.listView(), 4);
    report(QStringLiteral("new-names"), column(view.listView(), 1).join(QLatin1Char('|')));
    photograph(&view, "quillet-window.png");
    answerConfirmation(u("はい"), "quillet-confirm.png");
    click(find<QPushButton>(view, "Command1"));
    programShouldHaveEnded();
}

void declinedRun(QuilletWindow& view) {
    typeInto(find<QLineEdit>(view, "Text1"), QStringLiteral("trip_"));
    answerConfirmation(u("いいえ"));
    click(find<QPushButton>(view, "Command1"));
    report(QStringLiteral("window-visible"),
           view.isVisible() ? QStringLiteral("yes") : QStringLiteral("no"));
    report(QStringLiteral("new-names"), column(view.listView(), 1).join(QLatin1Char('|')));
    leaveOpen();
}

// Extended mode: another wildcard and extension, another folder chosen in the real dialog,
// and a pass after which the window lists the folder afresh.
void extendedRun(QuilletWindow& view) {
    click(find<QPushButton>(view, "Command3"));
    typeInto(find<QLineEdit>(view, "Text4"), QStringLiteral("*.png"));
    typeInto(find<QLineEdit>(view, "Text3"), QStringLiteral("png"));
    const QString other = qEnvironmentVariable("QUILLET_OTHER_FOLDER");
    whenModal([other](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) return false;
        report(QStringLiteral("dialog-title"), dialog->windowTitle());
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!name) fail(QStringLiteral("the folder dialog has no name field"));
        // Without a window manager nobody activates the dialog; a user's typing goes to the
        // focused field of the active window, and the dialog completes names only there.
        dialog->activateWindow();
        QApplication::setActiveWindow(dialog);
        name->setFocus();
        QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(name, other);
        waitFor([name, other] { return name->text() == other; },
                QStringLiteral("the typed folder"));
        report(QStringLiteral("dialog-typed"),
               name->text() + QStringLiteral(" in ") + dialog->directory().path());
        auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        QPushButton* choose = buttons ? buttons->button(QDialogButtonBox::Open) : nullptr;
        if (!choose) fail(QStringLiteral("the folder dialog has no button to choose"));
        // The first click may only close the name completion's pop-up.
        for (int attempt = 0; attempt < 3 && dialog->isVisible(); ++attempt) {
            QTest::mouseClick(choose, Qt::LeftButton);
            if (QTest::qWaitFor([dialog] { return !dialog->isVisible(); }, 1000)) break;
        }
        return true;
    });
    click(find<QStatusBar>(view, "SBar"));
    report(QStringLiteral("listed-folder"), find<QLabel>(view, "SBar.Path")->text());
    report(QStringLiteral("old-names"), column(view.listView(), 0).join(QLatin1Char('|')));
    typeInto(find<QLineEdit>(view, "Text1"), QStringLiteral("page_"));
    report(QStringLiteral("new-names"), column(view.listView(), 1).join(QLatin1Char('|')));
    photograph(&view, "quillet-extended.png");
    answerConfirmation(u("はい"));
    click(find<QPushButton>(view, "Command1"));
    report(QStringLiteral("window-visible"),
           view.isVisible() ? QStringLiteral("yes") : QStringLiteral("no"));
    report(QStringLiteral("listed-after"), column(view.listView(), 0).join(QLatin1Char('|')));
    report(QStringLiteral("status-hint"), find<QStatusBar>(view, "SBar")->toolTip());
    leaveOpen();
}

// Extended mode on a folder where a new name is already taken by a file that is not listed:
// the row that would keep its name, as the window shows it before execution, then the pass.
void failureMarksRun(QuilletWindow& view) {
    click(find<QPushButton>(view, "Command3"));
    typeInto(find<QLineEdit>(view, "Text4"), QStringLiteral("IMG*"));
    typeInto(find<QLineEdit>(view, "Text1"), QStringLiteral("trip_"));
    report(QStringLiteral("old-names"), column(view.listView(), 0).join(QLatin1Char('|')));
    report(QStringLiteral("new-names"), column(view.listView(), 1).join(QLatin1Char('|')));
    QTreeView* list = view.listView();
    report(QStringLiteral("first-tool-tip"),
           list->model()->index(0, 1).data(Qt::ToolTipRole).toString());
    QStringList marked;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        if (!list->model()->index(row, 1).data(Qt::DecorationRole).isNull())
            marked << list->model()->index(row, 0).data().toString();
    report(QStringLiteral("marked"), marked.join(QLatin1Char('|')));
    report(QStringLiteral("count-tool-tip"), find<QLabel>(view, "SBar.File")->toolTip());
    photograph(&view, "quillet-failure-marks.png");
    answerConfirmation(u("はい"));
    click(find<QPushButton>(view, "Command1"));
    report(QStringLiteral("listed-after"), column(view.listView(), 0).join(QLatin1Char('|')));
    report(QStringLiteral("status-hint"), find<QStatusBar>(view, "SBar")->toolTip());
    leaveOpen();
}

// Attribute-only mode: Read-only on the first two files, the others left out.
void readOnlyRun(QuilletWindow& view) {
    auto* tabs = find<QTabBar>(view, "TabStrip1");
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    waitFor([tabs] { return tabs->currentIndex() == 1; }, QStringLiteral("the second tab"));
    handlePosted();
    click(find<QCheckBox>(view, "Check6"));
    click(find<QCheckBox>(view, "Check7(0)"));
    clickCheckBoxOfRow(view.listView(), 3);
    clickCheckBoxOfRow(view.listView(), 4);
    report(QStringLiteral("new-names"), column(view.listView(), 1).join(QLatin1Char('|')));
    answerConfirmation(u("はい"));
    click(find<QPushButton>(view, "Command1"));
    programShouldHaveEnded();
}

// The list's pop-up menu: all rows selected, unchecked, checked again; and the help sheet.
void listMenuRun(QuilletWindow& view) {
    click(find<QPushButton>(view, "Command4"));
    photograph(&view, "quillet-help.png");
    report(QStringLiteral("help-raised"), QString::number(find<QWidget>(view, "panel")->y()));
    QTest::mouseClick(find<QLabel>(view, "Label2(1)"), Qt::LeftButton);
    handlePosted();
    report(QStringLiteral("help-parked"),
           find<QWidget>(view, "panel")->y() >= find<QWidget>(view, "client")->height()
               ? QStringLiteral("yes")
               : QStringLiteral("no"));

    QTreeView* list = view.listView();
    chooseFromListMenu(view, u("すべて選択"));
    report(QStringLiteral("selected"),
           QString::number(list->selectionModel()->selectedRows().size()));
    chooseFromListMenu(view, u("チェックを外す(除外)"));
    report(QStringLiteral("checked-after-uncheck"), QString::number(checkedRows(list)));
    report(QStringLiteral("execute-enabled"), find<QPushButton>(view, "Command1")->isEnabled()
                                                  ? QStringLiteral("yes")
                                                  : QStringLiteral("no"));
    chooseFromListMenu(view, u("チェック状態にする"));
    report(QStringLiteral("checked-after-check"), QString::number(checkedRows(list)));
    report(QStringLiteral("new-names"), column(list, 1).join(QLatin1Char('|')));
    leaveOpen();
}

void cancelRun(QuilletWindow& view) {
    click(find<QPushButton>(view, "Command2"));
    programShouldHaveEnded();
}

// The close button of the window's frame, as the window system delivers it.
void closeRun(QuilletWindow& view) {
    view.close();
}

// Where every control's widget stands and whether its text fits, for the layout check.
void layoutRun(QuilletWindow& view) {
    waitFor([&view] { return QTest::qWaitForWindowExposed(&view, 100); },
            QStringLiteral("the window on screen"));
    handlePosted();
    report(QStringLiteral("device-pixel-ratio"), QString::number(view.devicePixelRatioF()));
    QWidget* client = find<QWidget>(view, "client");
    // The help sheet waits below the window until it is called; it is not part of the layout.
    QWidget* sheet = find<QWidget>(view, "panel");
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
        report(QStringLiteral("widget.") + name,
               QStringLiteral("%1,%2,%3,%4 needs %5,%6 inside %7")
                   .arg(at.x())
                   .arg(at.y())
                   .arg(at.width())
                   .arg(at.height())
                   .arg(needed.width())
                   .arg(needed.height())
                   .arg(parent.contains(at) ? QStringLiteral("yes") : QStringLiteral("no")));
    }
    leaveOpen();
}

}  // namespace

Scenario scenarioNamed(const QString& name) {
    static const QHash<QString, Scenario> scenarios = {
        {QStringLiteral("typical"), typicalRun},
        {QStringLiteral("declined"), declinedRun},
        {QStringLiteral("extended"), extendedRun},
        {QStringLiteral("read-only"), readOnlyRun},
        {QStringLiteral("list-menu"), listMenuRun},
        {QStringLiteral("cancel"), cancelRun},
        {QStringLiteral("close"), closeRun},
        {QStringLiteral("layout"), layoutRun},
        {QStringLiteral("failure-marks"), failureMarksRun},
    };
    return scenarios.value(name);
}

}  // namespace quillet::e2e
