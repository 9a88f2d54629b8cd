#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstring>

#include "app/program.h"
#include "program_scenarios.h"

// Runs in a real X display (Xvfb). The settings file and launcher folders are a temporary
// home's, never the developer's own.
//
//   quillet_window_tests --program SCENARIO FOLDER
// is the program itself, started by a test: the real start-up, platform and end, with a
// user's session played on its widgets.
int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--program") == 0) {
        const QString name = QString::fromUtf8(argv[2]);
        const quillet::e2e::Scenario scenario = quillet::e2e::ScenarioNamed(name);
        if (!scenario) return quillet::e2e::kScenarioFailed;
        // The program sees its own name and the folder, as when started from the menu.
        argv[2] = argv[0];
        int programArgc = argc - 2;
        int qtArgc = 1;  // as the program's main: Qt takes no argument away
        QApplication app(qtArgc, argv + 2);
        return quillet::RunProgram(programArgc, argv + 2, scenario);
    }

    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());
    qputenv("LANG", "C.UTF-8");
    qputenv("TZ", "UTC");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
