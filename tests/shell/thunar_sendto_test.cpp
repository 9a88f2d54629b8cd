// The Sendto launcher in a real Thunar: the button writes it, Thunar lists it under Send To in
// a folder's context menu, and choosing it starts the program on that folder. Needs an X
// display, a session bus and Debian's thunar; tools/check-thunar-sendto provides them.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include "support/window_harness.h"

namespace quillet::test {
namespace {

QByteArray Output(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(10000);
    return process.readAllStandardOutput().trimmed();
}

// With QUILLET_THUNAR_SHOTS set to a folder, the screen is saved there after every step.
void Xdotool(const QStringList& arguments) {
    static int step = 0;
    Output(QStringLiteral("xdotool"), arguments);
    QThread::msleep(700);
    const QString shots = qEnvironmentVariable("QUILLET_THUNAR_SHOTS");
    if (!shots.isEmpty()) {
        Output(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"),
                                          QStringLiteral("%1/step-%2.png").arg(shots).arg(++step)});
    }
}

// The process id of a running Quillex whose one argument is `folder`, or 0.
qint64 ProgramOn(const QByteArray& folder) {
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& entry : proc.entryList(QDir::Dirs)) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (!numeric) continue;
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(entry));
        if (!cmdline.open(QIODevice::ReadOnly)) continue;
        const QList<QByteArray> argv = cmdline.readAll().split('\0');
        if (argv.size() >= 2 && argv[0].endsWith("/Quillex")) {
            if (argv[1] == folder) return pid;
            std::printf("a Quillex on another folder: %s\n", argv[1].constData());
        }
    }
    return 0;
}

TEST(ThunarSendTo, ChoosingQuilletFromAFoldersSendToMenuStartsTheProgramOnThatFolder) {
    if (QStandardPaths::findExecutable(QStringLiteral("thunar")).isEmpty()) {
        GTEST_SKIP() << "thunar is not installed";
    }
    TempFolder home, place;
    qputenv("HOME", home.path());
    qputenv("XDG_DATA_HOME", home.pathOf(".local/share"));
    qputenv("XDG_CACHE_HOME", home.pathOf(".cache"));
    qunsetenv("XDG_DESKTOP_DIR");
    const QByteArray parent = place.makeFolder("quillet-thunar-parent");
    const QByteArray chosen =
        place.makeFolder("quillet-thunar-parent/photos \"x\" 'y' 100% $z \xff end");

    WindowHarness harness;
    const QByteArray program = QUILLET_PROGRAM;
    harness.process.folder = program.left(program.lastIndexOf('/'));
    harness.startOnPhotos();
    harness.form().Toolbar1.userClick(2);
    ASSERT_EQ(harness.form().Toolbar1.button(2).value, 1);
    ASSERT_TRUE(QFile::exists(
        QString::fromUtf8(home.pathOf(".local/share/Thunar/sendto/Quillet.desktop"))));

    // Thunar's configuration home is the harness's; the data home holds the launcher.
    QProcess thunar;
    thunar.setProcessChannelMode(QProcess::MergedChannels);
    thunar.start(QStringLiteral("thunar"), {QString::fromUtf8(parent)});
    QByteArray window;
    QElapsedTimer timer;
    timer.start();
    while (window.isEmpty() && timer.elapsed() < 20000) {
        QThread::msleep(200);
        window =
            Output(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--name"),
                                               QStringLiteral("quillet-thunar-parent")})
                .split('\n')
                .value(0);
    }
    ASSERT_FALSE(window.isEmpty()) << thunar.readAll().constData();
    QThread::msleep(1000);
    const QString id = QString::fromLatin1(window);
    // Xvfb has no window manager to activate the window; it is given the focus directly, and
    // keys are typed as a keyboard types them.
    Xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), id});
    // The folder is the listing's only item; the Menu key opens its context menu, "s" its
    // Send To submenu, whose last item is the launcher (Up wraps round to it).
    Xdotool({QStringLiteral("key"), QStringLiteral("Home")});
    Xdotool({QStringLiteral("key"), QStringLiteral("Menu")});
    Xdotool({QStringLiteral("key"), QStringLiteral("s")});
    Xdotool({QStringLiteral("key"), QStringLiteral("Up")});
    Xdotool({QStringLiteral("key"), QStringLiteral("Return")});

    qint64 pid = 0;
    timer.restart();
    while (pid == 0 && timer.elapsed() < 20000) {
        QThread::msleep(200);
        pid = ProgramOn(chosen);
    }
    ASSERT_NE(pid, 0) << "no Quillex started on the chosen folder";
    QByteArray windows;
    timer.restart();
    while (!windows.contains('\n') && windows.isEmpty() && timer.elapsed() < 20000) {
        QThread::msleep(200);
        windows = Output(QStringLiteral("xdotool"),
                         {QStringLiteral("search"), QStringLiteral("--pid"), QString::number(pid),
                          QStringLiteral("--name"), QStringLiteral("^Quillet$")});
    }
    EXPECT_FALSE(windows.isEmpty()) << "the program started but showed no window";
    std::printf("Quillex %lld started on the chosen folder; its window: %s\n",
                static_cast<long long>(pid), windows.constData());
    ::kill(static_cast<pid_t>(pid), SIGTERM);
    thunar.terminate();
    thunar.waitForFinished(5000);
    Output(QStringLiteral("thunar"), {QStringLiteral("--quit")});
}

// The desktop asks whether a launcher on it is trusted before a double click may start it;
// GIO keeps the answer in the desktop's metadata store (gvfs), which this session has.
TEST(DesktopLauncherTrust, TheDesktopLauncherIsMarkedTrusted) {
    const QByteArray probe = Output(
        QStringLiteral("gio"), {QStringLiteral("info"), QStringLiteral("-w"), QStringLiteral("/")});
    if (!probe.contains(" metadata (")) GTEST_SKIP() << "no metadata store (gvfs) in this session";
    TempFolder home;
    qputenv("HOME", home.path());
    qputenv("XDG_DATA_HOME", home.pathOf(".local/share"));
    qunsetenv("XDG_DESKTOP_DIR");
    WindowHarness harness;
    harness.startOnPhotos();
    harness.form().Toolbar1.userClick(1);
    const QString launcher = QString::fromUtf8(home.pathOf("Desktop/Quillet.desktop"));
    ASSERT_TRUE(QFile::exists(launcher));
    EXPECT_TRUE(Output(QStringLiteral("gio"), {QStringLiteral("info"), QStringLiteral("-a"),
                                               QStringLiteral("metadata::trusted"), launcher})
                    .contains("metadata::trusted: true"));
}

}  // namespace
}  // namespace quillet::test
