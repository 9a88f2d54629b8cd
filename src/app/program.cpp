#include "app/program.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include "app/form_wiring.h"
#include "app/version.h"
#include "platform/linux/linux_file_system.h"
#include "platform/linux/linux_process.h"
#include "platform/linux/qt_settings_store.h"
#include "platform/linux/system_clock.h"
#include "platform/linux/xdg_special_folders.h"
#include "platform/platform.h"
#include "view/interface_font.h"
#include "view/qt_folder_picker.h"
#include "view/qt_user_feedback.h"
#include "view/quillet_window.h"

namespace quillet {

int RunProgram(int argc, char** argv, const std::function<void(QuilletWindow&)>& started) {
    QApplication::setApplicationName(QStringLiteral("Quillet"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLET_VERSION));
    // The desktop finds the window's icon and menu entry by this name.
    QApplication::setDesktopFileName(QStringLiteral("quillet"));
    // Message boxes and the folder dialog are windows of their own; they share the face too.
    QApplication::setFont(InterfaceFont());

    LinuxFileSystem files;
    QtSettingsStore settings;
    QtUserFeedback feedback;
    QtFolderPicker folderPicker;
    XdgSpecialFolders specialFolders;
    SystemClock clock;
    LinuxProcess process(argc, argv);
    Platform platform{files, settings, feedback, folderPicker, specialFolders, clock, process};

    FormWiring window(platform);
    QuilletWindow view(window.form());
    feedback.attach(&view);
    folderPicker.attach(&view);

    // Start-up parks the help sheet below the window, so it needs the height first.
    view.reportOuterHeight();
    window.Form_Load();
    view.show();
    // Now the window manager has framed the window; its real height replaces the estimate.
    view.reportOuterHeight();
    // Finding the icon in the desktop's icon themes takes longer than drawing the whole
    // window: the window manager is given it right after the first frame.
    view.afterFirstFrame(
        [] { QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("quillet"))); });
    if (started) QTimer::singleShot(0, &view, [&view, started] { started(view); });
    return QApplication::exec();
}

}  // namespace quillet
