// The least a Qt Widgets program does to show a window, built with the benchmarks as the
// baseline of the program's start-up: a main window with one label.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("Quillet")));
    window.show();
    return QApplication::exec();
}
