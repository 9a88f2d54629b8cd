// The least a Qt Widgets program does to show a window, built with the benchmarks as the
// baseline of the program's start-up: a main window with one label. Given a font (as
// QFont::toString writes it) and a text, the label shows that text in that font: the least a
// window that shows the program's own texts in its own face does.
//   quillet_bench_minimal_window [FONT TEXT]
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QString text = QStringLiteral("Quillet");
    if (argc == 3) {
        QFont font;
        if (!font.fromString(QString::fromUtf8(argv[1]))) return 2;
        QApplication::setFont(font);
        text = QString::fromUtf8(argv[2]);
    }
    QMainWindow window;
    window.setCentralWidget(new QLabel(text));
    window.show();
    return QApplication::exec();
}
