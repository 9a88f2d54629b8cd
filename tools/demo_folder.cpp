// Fills a folder with small generated photos named the way a camera names them, plus a GIF
// and a text file, so that the program can be tried without touching anyone's own files.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillet_demo_folder FOLDER\n");
        return 2;
    }
    const QDir folder(QFile::decodeName(argv[1]));
    if (!folder.exists() && !QDir().mkpath(folder.path())) return 1;

    for (int i = 0; i < 12; ++i) {
        QImage photo(160, 120, QImage::Format_RGB32);
        photo.fill(QColor::fromHsv(i * 30, 120, 220));
        QPainter painter(&photo);
        painter.setPen(Qt::white);
        painter.drawText(photo.rect(), Qt::AlignCenter, QString::number(841 + i));
        painter.end();
        const QString name = QStringLiteral("IMG_%1.JPG").arg(841 + i, 4, 10, QLatin1Char('0'));
        if (!photo.save(folder.filePath(name), "JPG")) return 1;
    }
    // Qt reads GIF but does not write it: a one-pixel image, byte by byte.
    static const unsigned char gif[] = {
        0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0xff, 0xff,
        0xff, 0x00, 0x00, 0x00, 0x21, 0xf9, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00,
        0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3b};
    QFile animation(folder.filePath(QStringLiteral("animation.gif")));
    if (!animation.open(QIODevice::WriteOnly)) return 1;
    animation.write(reinterpret_cast<const char*>(gif), sizeof gif);
    QFile notes(folder.filePath(QStringLiteral("notes.txt")));
    if (!notes.open(QIODevice::WriteOnly)) return 1;
    notes.write("Holiday photos, not yet renamed.\n");
    return 0;
}
