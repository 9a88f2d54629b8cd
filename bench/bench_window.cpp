#include "bench_window.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTreeView>
#include <cstdio>

#include "app/form_wiring.h"
#include "naming/new_name.h"
#include "platform/linux/linux_file_system.h"
#include "platform/linux/qt_settings_store.h"
#include "platform/linux/system_clock.h"
#include "platform/linux/xdg_special_folders.h"
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

QTreeView& BenchWindow::list() {
    return *m_parts->view.findChild<QTreeView*>();
}

void BenchWindow::show() {
    m_parts->view.show();
    drawNow();
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
    // The way a click on the box reaches the program: the view writes the check state.
    QAbstractItemModel& model = *list().model();
    const QModelIndex box = model.index(row, 0);
    const bool checked = model.data(box, Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
    model.setData(box, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    drawNow();
}

void BenchWindow::scrollOnePage() {
    QScrollBar& bar = *list().verticalScrollBar();
    bar.setValue(bar.value() + bar.pageStep() > bar.maximum() ? 0 : bar.value() + bar.pageStep());
    drawNow();
}

void BenchWindow::drawNow() {
    // Queued updates first, then the list's picture, as the event loop would do next.
    QCoreApplication::processEvents();
    list().viewport()->repaint();
}

}  // namespace quillet::bench
