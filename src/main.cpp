#include <fontconfig/fontconfig.h>

#include <QApplication>
#include <thread>

#include "app/program.h"
#include "app/qt_translations.h"

int main(int argc, char** argv) {
    // Reading the system's font configuration takes milliseconds, and nothing needs it before
    // the window is built: it is read on the side while Qt loads its plugins and connects to
    // the display. Qt then finds it read.
    std::thread fontConfiguration([] { FcInit(); });
    // Qt sees the program's name alone and takes nothing out of the arguments: every one of
    // them is part of the folder path, even one spelt like Qt's own options ("-reverse").
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    quillet::LoadQtJapanese(app);
    fontConfiguration.join();
    return quillet::RunProgram(argc, argv);
}
