#include <QApplication>
#include <QIcon>

#include "app/program.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("quillet")));
    return quillet::RunProgram(argc, argv);
}
