#include "bench_window.h"

#include <unistd.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTabBar>
#include <QTest>
#include <cstdio>

#include "app/form_wiring.h"
#include "naming/new_name.h"
#include "platform/linux/linux_file_system.h"
#include "platform/linux/qt_settings_store.h"
#include "platform/linux/system_clock.h"
#include "platform/linux/xdg_special_folders.h"
#include "view/file_list_tree.h"
#include "view/quillet_window.h"

namespace quillet::bench {

namespace {

struct ProgramEnded {};

class YesFeedback : public UserFeedback {
  public:
    MessageAnswer messageBox(const QString&, const QString&, MessageIcon,
                             MessageButtons buttons) override {
        return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }
    void beep() override {}
    void setFocus(const QString&) override {}
};

class NoFolderPicker : public FolderPicker {
  public:
    QString pickFolder(const QString&, const QString&) override { return {}; }
};

class BenchProcess : public Process {
  public:
    QByteArray commandLine() override { return folder; }
    QByteArray programFolder() override { return "/usr/bin"; }
    [[noreturn]] void endNow() override { throw ProgramEnded{}; }
    QByteArray folder;
};

}  // namespace

// Counts the paints of the widget it watches.
class BenchWindow::PaintCounter : public QObject {
  public:
    explicit PaintCounter(QObject* parent) : QObject(parent) {}
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

struct BenchWindow::Parts {
    LinuxFileSystem files;
    QtSettingsStore settings;
    YesFeedback feedback;
    NoFolderPicker picker;
    XdgSpecialFolders specialFolders;
    SystemClock clock;
    BenchProcess process;
    Platform platform{files, settings, feedback, picker, specialFolders, clock, process};
    FormWiring window{platform};
    QuilletWindow view{window.form()};
};

BenchWindow::BenchWindow() : m_startedIn(QFile::encodeName(QDir::currentPath())) {
    // QUILLET_BENCH_CONFIG puts the settings file elsewhere, e.g. on tmpfs, to see what its
    // durable write (an fsync on the folder's file system) adds to the rename pass.
    const QByteArray config = qgetenv("QUILLET_BENCH_CONFIG");
    qputenv("XDG_CONFIG_HOME", config.isEmpty() ? m_config.path().toUtf8() : config);
    m_parts = std::make_unique<Parts>();
}

BenchWindow::~BenchWindow() {
    m_parts.reset();
    // The folder may be removed next; a shell started later must not find itself nowhere.
    if (::chdir(m_startedIn.constData()) != 0) std::perror("back to the starting folder");
}

Form1& BenchWindow::form() {
    return m_parts->window.form();
}

void BenchWindow::startOn(const QByteArray& folder) {
    m_parts->process.folder = folder;
    m_parts->window.Form_Load();
    m_parts->view.applyListChanges();
}

void BenchWindow::rebuild() {
    m_parts->window.RebuildFileList();
    m_parts->view.applyListChanges();
}

void BenchWindow::typePrefix(const QString& prefix) {
    form().Text1.setText(prefix);
    m_parts->view.applyListChanges();
}

std::vector<std::pair<QByteArray, QByteArray>> BenchWindow::plannedRenames() {
    std::vector<std::pair<QByteArray, QByteArray>> renames;
    const ListView& list = form().LV;
    for (int i = 1; i <= list.rowCount(); ++i) {
        if (list.row(i).checked)
            renames.emplace_back(list.row(i).rawName, NewNameBytes(list.row(i)));
    }
    return renames;
}

void BenchWindow::execute() {
    try {
        form().Command1.click();
    } catch (const ProgramEnded&) {
    }
    m_parts->view.applyListChanges();
}

FileListTree& BenchWindow::list() {
    return *m_parts->view.findChild<FileListTree*>();
}

void BenchWindow::show() {
    m_listPaints = new PaintCounter(list().viewport());
    list().viewport()->installEventFilter(m_listPaints);
    m_parts->view.show();
    drawNow();
}

QString BenchWindow::textsOnScreen() {
    QStringList texts;
    for (const QWidget* widget : m_parts->view.findChildren<QWidget*>()) {
        // The help sheet waits below the window's edge, shown but not on screen.
        if (!widget->isVisible() || widget->visibleRegion().isEmpty()) continue;
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
            texts << button->text();
        } else if (const auto* label = qobject_cast<const QLabel*>(widget)) {
            texts << label->text();
        } else if (const auto* frame = qobject_cast<const QGroupBox*>(widget)) {
            texts << frame->title();
        } else if (const auto* box = qobject_cast<const QComboBox*>(widget)) {
            texts << box->currentText();
        } else if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) {
            texts << edit->text();
        } else if (const auto* tabs = qobject_cast<const QTabBar*>(widget)) {
            for (int tab = 0; tab < tabs->count(); ++tab) texts << tabs->tabText(tab);
        }
    }
    // The list's headers and the rows on screen, a row a line.
    const QAbstractItemModel& rows = *list().model();
    QStringList header;
    for (int column = 0; column < rows.columnCount(); ++column)
        header << rows.headerData(column, Qt::Horizontal).toString();
    texts << header.join(QLatin1Char(' '));
    const auto shown = list().rowsOnScreen();
    for (int row = shown ? shown->first : 0; shown && row <= shown->second; ++row) {
        QStringList cells;
        for (int column = 0; column < rows.columnCount(); ++column)
            cells << rows.index(row, column).data().toString();
        texts << cells.join(QLatin1Char(' '));
    }
    texts.removeAll(QString());
    return texts.join(QLatin1Char('\n'));
}

QFont BenchWindow::font() const {
    return m_parts->view.font();
}

void BenchWindow::typePrefixShown(const QString& prefix) {
    typePrefix(prefix);
    drawNow();
}

void BenchWindow::clickSortOption(int option) {
    form().Option1[option].select();
    m_parts->view.applyListChanges();
}

void BenchWindow::clickCheckBox(int row) {
    if (!m_listPaints) {
        ListView& rows = form().LV;
        if (m_selectedRow > 0) rows.setSelected(m_selectedRow, false);
        m_selectedRow = row + 1;
        rows.setSelected(m_selectedRow, true);
        rows.userSetChecked(m_selectedRow, !rows.row(m_selectedRow).checked);
        m_parts->view.applyListChanges();
        return;
    }
    const QModelIndex box = list().model()->index(row, 0);
    QStyleOptionViewItem option;
    option.initFrom(&list());
    option.rect = list().visualRect(box);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = box.data().toString();
    const QRect indicator =
        list().style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &list());
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, indicator.center());
    drawNow();
}

void BenchWindow::scrollTo(int row) {
    list().scrollTo(list().model()->index(row, 0), QAbstractItemView::PositionAtCenter);
    drawNow();
}

void BenchWindow::scrollOnePage() {
    QScrollBar& bar = *list().verticalScrollBar();
    bar.setValue(bar.value() + bar.pageStep() > bar.maximum() ? 0 : bar.value() + bar.pageStep());
    drawNow();
}

void BenchWindow::drawNow() {
    // What the event loop does next: the queued updates, then the paint they ask for. A list
    // that this did not draw is drawn now, so that every job ends with the list drawn.
    const int paints = m_listPaints->paints;
    QCoreApplication::processEvents();
    if (m_listPaints->paints == paints) list().viewport()->repaint();
}

}  // namespace quillet::bench
