#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QThread>
#include <QTreeView>
#include <QWindow>
#include <memory>

#include "app/main_window.h"
#include "platform/linux/linux_file_system.h"
#include "platform/linux/linux_process.h"
#include "platform/linux/qt_settings_store.h"
#include "platform/linux/system_clock.h"
#include "platform/linux/xdg_special_folders.h"
#include "platform/widgets/qt_folder_picker.h"
#include "platform/widgets/qt_user_feedback.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "view/file_list_model.h"
#include "view/interface_font.h"
#include "view/quillet_window.h"

namespace quillet {
namespace {

// A folder as a camera leaves it: a few small JPEG pictures with the camera's names.
void writePictures(const test::TempFolder& folder, int count) {
    for (int i = 1; i <= count; ++i) {
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(QColor::fromHsv((i * 50) % 360, 160, 220));
        QPainter painter(&picture);
        painter.drawText(picture.rect(), Qt::AlignCenter, QString::number(i));
        painter.end();
        const QString name = QStringLiteral("IMG_%1.jpg").arg(i, 4, 10, QLatin1Char('0'));
        ASSERT_TRUE(picture.save(QString::fromUtf8(folder.pathOf(name.toUtf8())), "JPEG"));
    }
}

bool waitFor(const std::function<bool()>& done, int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    return true;
}

QWidget* topLevelTitled(const QString& title) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowTitle() == title) return widget;
    }
    return nullptr;
}

TEST(ProgramWindow, ShowsTheListedFolderAndIsPhotographedForTheDocs) {
    test::TempFolder folder;
    writePictures(folder, 6);
    QApplication::setFont(interfaceFont());

    LinuxFileSystem files;
    QtSettingsStore settings;
    QtUserFeedback feedback;
    QtFolderPicker folderPicker;
    XdgSpecialFolders specialFolders;
    SystemClock clock;
    test::FakeProcess process;  // the program's end would end the test runner too
    process.arguments = folder.path();
    Platform platform{files, settings, feedback, folderPicker, specialFolders, clock, process};
    MainWindow window(platform);
    QuilletWindow view(window);
    feedback.attach(&view);
    folderPicker.attach(&view);
    view.reportOuterHeight();
    window.Form_Load();
    view.show();

    ASSERT_TRUE(
        waitFor([&] { return view.windowHandle() && view.windowHandle()->isExposed(); }, 10000));
    view.reportOuterHeight();
    QWidget* shown = topLevelTitled(QStringLiteral("Quillet"));
    ASSERT_EQ(shown, &view);
    waitFor([] { return false; }, 300);  // let the first frames be drawn

    EXPECT_EQ(view.listView()->model()->rowCount(), 6);
    EXPECT_EQ(view.listView()->model()->columnCount(), FileListModel::kVisibleColumns);
    const QImage screenshot = shown->grab().toImage();
    EXPECT_FALSE(screenshot.isNull());
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(QUILLET_DOCS_DIR)));
    EXPECT_TRUE(screenshot.save(QStringLiteral(QUILLET_DOCS_DIR "/quillet-window.png")));
}

// Whether the X server knows a window with this name, as any other client would see it.
bool xWindowNamed(const QString& name) {
    QProcess lister;
    lister.start(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")});
    if (!lister.waitForFinished(5000)) return false;
    const QString tree = QString::fromUtf8(lister.readAllStandardOutput());
    return tree.contains(QLatin1Char('"') + name + QLatin1Char('"'));
}

TEST(ProgramWindow, TheProgramOpensItsWindowOnTheFolderItIsGiven) {
    test::TempFolder folder;
    writePictures(folder, 3);
    ASSERT_FALSE(xWindowNamed(QStringLiteral("Quillet"))) << "a window is left from before";

    QProcess program;
    program.setProgram(QStringLiteral(QUILLET_PROGRAM));
    program.setArguments({QString::fromUtf8(folder.path())});
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start();
    ASSERT_TRUE(program.waitForStarted(10000));
    const bool appeared = waitFor([] { return xWindowNamed(QStringLiteral("Quillet")); }, 20000);
    const bool stillRunning = program.state() == QProcess::Running;
    program.terminate();
    if (!program.waitForFinished(5000)) {
        program.kill();
        program.waitForFinished(5000);
    }
    EXPECT_TRUE(appeared);
    EXPECT_TRUE(stillRunning) << "the program ended on its own";
    EXPECT_TRUE(waitFor([] { return !xWindowNamed(QStringLiteral("Quillet")); }, 5000));
}

}  // namespace
}  // namespace quillet
