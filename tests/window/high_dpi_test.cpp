#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QHash>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QSize>
#include <QTemporaryDir>

#include "program_scenarios.h"
#include "support/temp_folder.h"

namespace quillet::e2e {
namespace {

struct Placement {
    QRect rect;
    QSize needed;
    bool inside = false;
};

// The program's window laid out at one scale, as the program reports it.
QHash<QString, Placement> LayoutAt(const QString& scale, QString* ratio) {
    test::TempFolder photos;
    photos.write("IMG_0001.jpg");
    QTemporaryDir home;
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), scale);
    env.remove(QStringLiteral("QUILLET_SHOTS"));
    program.setProcessEnvironment(env);
    program.start(
        QCoreApplication::applicationFilePath(),
        {QStringLiteral("--program"), QStringLiteral("layout"), QString::fromUtf8(photos.path())});
    if (!program.waitForFinished(30000)) program.kill();
    EXPECT_EQ(program.exitCode(), kWindowStayedOpen)
        << program.readAllStandardError().toStdString();

    static const QRegularExpression line(QStringLiteral(
        "^widget\\.(.+)=(-?\\d+),(-?\\d+),(\\d+),(\\d+) needs (\\d+),(\\d+) inside (yes|no)$"));
    QHash<QString, Placement> placements;
    for (const QByteArray& raw : program.readAllStandardOutput().split('\n')) {
        const QString text = QString::fromUtf8(raw);
        if (text.startsWith(QLatin1String("device-pixel-ratio="))) *ratio = text.mid(19);
        const QRegularExpressionMatch match = line.match(text);
        if (!match.hasMatch()) continue;
        auto number = [&match](int group) { return match.captured(group).toInt(); };
        placements.insert(match.captured(1),
                          {QRect(number(2), number(3), number(4), number(5)),
                           QSize(number(6), number(7)), match.captured(8) == QLatin1String("yes")});
    }
    return placements;
}

// On a screen of twice the density the window keeps its layout in logical pixels (drawn with
// twice the pixels), every control stays inside its frame and every caption has its room.
TEST(HighDpi, TheWindowKeepsItsLayoutAndNothingIsClippedAtTwiceTheDensity) {
    QString normalRatio;
    QString doubleRatio;
    const auto normal = LayoutAt(QStringLiteral("1"), &normalRatio);
    const auto doubled = LayoutAt(QStringLiteral("2"), &doubleRatio);
    EXPECT_EQ(normalRatio, QStringLiteral("1"));
    EXPECT_EQ(doubleRatio, QStringLiteral("2"));
    ASSERT_GE(normal.size(), 20);
    ASSERT_EQ(doubled.keys().size(), normal.keys().size());

    for (auto it = doubled.constBegin(); it != doubled.constEnd(); ++it) {
        const QString& name = it.key();
        const Placement& at2 = it.value();
        ASSERT_TRUE(normal.contains(name)) << name.toStdString();
        const Placement& at1 = normal.value(name);
        // Rounding at the other density may move an edge by a pixel, never more.
        EXPECT_LE(std::abs(at2.rect.left() - at1.rect.left()), 1) << name.toStdString();
        EXPECT_LE(std::abs(at2.rect.top() - at1.rect.top()), 1) << name.toStdString();
        EXPECT_LE(std::abs(at2.rect.width() - at1.rect.width()), 1) << name.toStdString();
        EXPECT_LE(std::abs(at2.rect.height() - at1.rect.height()), 1) << name.toStdString();
        for (const Placement* p : {&at1, &at2}) {
            EXPECT_TRUE(p->inside) << name.toStdString() << " leaves its frame";
            EXPECT_LE(p->needed.width(), p->rect.width()) << name.toStdString() << " is cut off";
            EXPECT_LE(p->needed.height(), p->rect.height()) << name.toStdString() << " is cut off";
        }
    }
}

}  // namespace
}  // namespace quillet::e2e
