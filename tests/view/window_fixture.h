#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QEvent>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "app/form_wiring.h"
#include "platform/linux/linux_file_system.h"
#include "platform/linux/qt_settings_store.h"
#include "platform/linux/xdg_special_folders.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "view/quillet_window.h"

// Readable texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace quillet::test {

// The whole program behind its window, on a real folder of camera-named pictures; only the
// dialogs, the clock and the program's end are stand-ins.
class WindowFixture : public ::testing::Test {
  protected:
    WindowFixture();
    ~WindowFixture() override;

    // Start-up as the program runs it, then the window on screen with its first updates drawn.
    void load();
    static void settle();

    template <typename W>
    W* widget(const QString& name) const {
        return view->findChild<W*>(name);
    }

    TempFolder folder;
    LinuxFileSystem files;
    QtSettingsStore settings;
    FakeFeedback feedback;
    FakeFolderPicker folderPicker;
    XdgSpecialFolders specialFolders;
    FakeClock clock;
    FakeProcess process;
    Platform platform{files, settings, feedback, folderPicker, specialFolders, clock, process};
    std::unique_ptr<FormWiring> window;
    std::unique_ptr<QuilletWindow> view;
};

// Counts the paints a widget receives while it watches it.
class PaintCounter : public QObject {
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// What Qt's own checks of an item model find wrong while `drive` changes it.
QStringList ItemModelFaults(QAbstractItemModel* model, const std::function<void()>& drive);

// A control's name as a test name: "Option1(1)" becomes "Option1_1_".
std::string TestNameOf(const char* control);

// Sends a press and a release, as a click of the given button.
void ClickAt(QWidget* target, QPoint at, Qt::MouseButton button = Qt::LeftButton);
void SendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button);

}  // namespace quillet::test
