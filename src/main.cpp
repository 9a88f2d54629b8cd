#include <QApplication>
#include <QIcon>

#include "app/program.h"
#include "app/qt_translations.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    quillet::LoadQtJapanese(app);
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("quillet")));
    return quillet::RunProgram(argc, argv);
}
