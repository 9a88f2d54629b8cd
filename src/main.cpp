#include <QApplication>

#include "app/program.h"
#include "app/qt_translations.h"

int main(int argc, char** argv) {
    // Qt sees the program's name alone and takes nothing out of the arguments: every one of
    // them is part of the folder path, even one spelt like Qt's own options ("-reverse").
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    quillet::LoadQtJapanese(app);
    return quillet::RunProgram(argc, argv);
}
