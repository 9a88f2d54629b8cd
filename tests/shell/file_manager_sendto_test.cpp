// Each Sendto launcher in the real file manager it is written for. The program's Sendto button
// writes the launchers into a fresh home, the file manager shows the parent of a folder with an
// awkward name, the launcher is chosen from that folder's context menu with the keyboard, and
// the arguments the program gets are compared byte for byte with the folder's path. Needs an X
// display, a session bus and the file managers; tools/check-file-managers provides them, one
// file manager per session.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QThread>
#include <functional>

#include "support/window_harness.h"

namespace quillet::test {
namespace {

struct FileManager {
    const char* name;
    const char* package;
    // The launcher it reads, under the data home, or the configuration home when it starts
    // with ":".
    const char* launcher;
    // Its options before the chosen folder's parent.
    const char* options;
    // Typed once its window is there, separated by blanks. "@click:X,Y" clicks at that point of
    // its window instead, once something is drawn there on the white listing. "@popup" gives the
    // focus to the window that the step before it opened: without a window manager, a menu that
    // grabs no keyboard gets no keys otherwise.
    const char* keys;
    // Whether it passes a name that is not UTF-8 with every byte.
    bool keepsEveryByte;
    // The option that makes a running instance end, if it has one.
    const char* quit;
};

void PrintTo(const FileManager& manager, std::ostream* out) {
    *out << manager.name;
}

const FileManager kFileManagers[] = {
    {"Thunar", "thunar", "Thunar/sendto/Quillet.desktop", "", "Home Menu s Up Return", true,
     "--quit"},
    // Its first key goes to the path bar, so the folder is selected with a click on its icon,
    // the listing's first.
    {"Nautilus", "nautilus", "nautilus/scripts/Quillet", "",
     "@click:336,125 shift+F10 @popup s Down Return", true, "--quit"},
    {"Caja", "caja", ":caja/scripts/Quillet", "--no-desktop",
     "Home shift+F10 Down Down Down Down Down Right Return", true, "--quit"},
    {"Nemo", "nemo", "nemo/actions/quillet.nemo_action", "",
     "Home shift+F10 Down Down Down Down Down Return", true, "--quit"},
    // The menu gives the entry the accelerator Q.
    {"Dolphin", "dolphin", "kio/servicemenus/Quillet.desktop", "", "Home Menu q", false, nullptr},
};

struct FolderCase {
    const char* name;
    const char* description;
    QByteArray folder;
    bool notUtf8;
};

void PrintTo(const FolderCase& folderCase, std::ostream* out) {
    *out << folderCase.name;
}

const FolderCase kFolderCases[] = {
    {"Awkward", "Japanese, blanks, quotes, % $ \\ ` %f", "写真 \"x\" 'y' 100% $z \\c `b` 50%f end",
     false},
    {"LineBreak", "a line break", "line\nbreak", false},
    {"NotUtf8", "a byte that is not UTF-8", "bad \xff byte", true},
};

// The program's folder holds all of those at once.
const QByteArray kProgramFolder = "prog \"q\" 'a' 100% $HOME \\b `t` %f\nline \xfe";

// The output of a command given as blank-separated words, with `more` words after them.
QByteArray Output(const char* words, const QStringList& more = {}) {
    QStringList arguments = QString::fromUtf8(words).split(QLatin1Char(' ')) + more;
    QProcess process;
    process.start(arguments.takeFirst(), arguments);
    process.waitForFinished(10000);
    return process.readAllStandardOutput().trimmed();
}

// The ids of the shown windows whose title matches `title`, one a line.
QByteArray WindowsNamed(const QString& title) {
    return Output("xdotool search --onlyvisible --name", {title});
}

// The launcher's message, or the program's window.
const QString kMessageOrProgram = QStringLiteral("^(xmessage|Quillet)$");

bool WaitFor(const std::function<bool()>& done, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > milliseconds) return false;
        QThread::msleep(200);
    }
    return true;
}

QImage WindowImage(const QByteArray& window) {
    static int argc = 1;
    static char name[] = "quillet_file_manager_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    return QGuiApplication::primaryScreen()->grabWindow(window.toULongLong()).toImage();
}

// Waits until the window has not changed for a second, a minute at most. A listing that is still
// being read shows a spinner, and keys typed before it is read reach no item.
void WaitUntilStill(const QByteArray& window) {
    QImage last;
    int still = 0;
    WaitFor(
        [&] {
            const QImage now = WindowImage(window);
            still = (!now.isNull() && now == last) ? still + 1 : 0;
            last = now;
            return still >= 5;
        },
        60000);
}

// With QUILLET_CHECK_SHOTS set to a folder, the screen is saved there after every key.
void SaveScreen(const QString& label) {
    const QString shots = qEnvironmentVariable("QUILLET_CHECK_SHOTS");
    if (shots.isEmpty()) return;
    Output("import -window root", {QStringLiteral("%1/%2.png").arg(shots, label)});
}

// A name as it is printed: a line break as "\n", bytes that are not UTF-8 as "\ufffd".
QByteArray Shown(const QByteArray& bytes) {
    return QString::fromUtf8(bytes)
        .replace(QChar::ReplacementCharacter, QStringLiteral("\\ufffd"))
        .replace(QLatin1Char('\n'), QStringLiteral("\\n"))
        .toUtf8();
}

QByteArray ShellWord(const QByteArray& word) {
    return '\'' + QByteArray(word).replace('\'', "'\\''") + '\'';
}

// One home for the whole session: the services that the session bus starts for the first file
// manager (the metadata store among them) keep working in it for the next ones. In it the
// Sendto button, pressed in the window as the user presses it, writes the launchers for a
// stand-in in an awkward folder, which writes down its process id and arguments and becomes the
// real program.
struct Session {
    Session() {
        qputenv("HOME", home.path());
        qputenv("XDG_DATA_HOME", home.pathOf(".local/share"));
        qputenv("XDG_CACHE_HOME", home.pathOf(".cache"));
        qunsetenv("XDG_DESKTOP_DIR");
        const QByteArray programFolder = place.makeFolder(kProgramFolder);
        const QByteArray real = qEnvironmentVariableIsSet("QUILLET_CHECK_PROGRAM")
                                    ? qgetenv("QUILLET_CHECK_PROGRAM")
                                    : QByteArray(QUILLET_PROGRAM);
        place.write(kProgramFolder + "/Quillex",
                    "#!/bin/sh\necho $$ > " + ShellWord(place.pathOf("pid")) +
                        "\nprintf '%s\\0' \"$@\" > " + ShellWord(record + ".part") + " && mv " +
                        ShellWord(record + ".part") + ' ' + ShellWord(record) + "\nexec " +
                        ShellWord(real) + " \"$@\"\n");
        ::chmod((programFolder + "/Quillex").constData(), 0755);
        harness.process.folder = programFolder;
        harness.startOnPhotos();
        harness.form().Toolbar1.userClick(2);
    }

    // Where a file manager reads its launcher, under the data or configuration home.
    QByteArray launcher(const FileManager& manager) {
        return manager.launcher[0] == ':'
                   ? harness.config.pathOf(manager.launcher + 1)
                   : home.pathOf(QByteArray(".local/share/") + manager.launcher);
    }

    TempFolder home, place;
    const QByteArray record = place.pathOf("arguments");
    WindowHarness harness;
};

Session& SharedSession() {
    static Session session;
    return session;
}

// Every try starts the file manager afresh and ends it, whatever the outcome, so that the next
// one does not hand its folder to an instance on its way out.
class FileManagerSendTo : public ::testing::TestWithParam<std::tuple<FileManager, FolderCase>> {
  protected:
    void TearDown() override { end(); }

    // Opens the file manager on `parent` and chooses Quillet for the one folder in it; false
    // when its window did not show. The screens of each try are saved under its number.
    bool openAndChoose(const QByteArray& parent, const QByteArray& home, int attempt) {
        const FileManager& manager = std::get<0>(GetParam());
        const QString options = QString::fromLatin1(manager.options);
        const QByteArray title = parent.mid(parent.lastIndexOf('/') + 1);
        fileManager.setWorkingDirectory(QFile::decodeName(home));
        fileManager.setProcessChannelMode(QProcess::MergedChannels);
        fileManager.start(QString::fromLatin1(manager.package),
                          options.split(QLatin1Char(' '), Qt::SkipEmptyParts)
                              << QFile::decodeName(parent));
        QByteArray window;
        const auto shown = [&] {
            window = WindowsNamed(QString::fromUtf8("^" + title)).split('\n').value(0);
            return !window.isEmpty();
        };
        if (!WaitFor(shown, 30000)) return false;
        WaitUntilStill(window);

        // Xvfb has no window manager to activate the window: it is given the focus directly,
        // and keys are typed as a keyboard types them.
        Output("xdotool windowfocus --sync", {QString::fromLatin1(window)});
        const QString any = QStringLiteral(".*");
        QList<QByteArray> before = WindowsNamed(any).split('\n');
        int step = 0;
        for (const QString& key :
             QString::fromLatin1(manager.keys).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (key == QStringLiteral("@popup")) {
                for (const QByteArray& opened : WindowsNamed(any).split('\n')) {
                    if (!before.contains(opened))
                        Output("xdotool windowfocus", {QString::fromLatin1(opened)});
                }
            } else if (key.startsWith(QStringLiteral("@click:"))) {
                const QStringList point = key.mid(7).split(QLatin1Char(','));
                const int x = point.value(0).toInt();
                const int y = point.value(1).toInt();
                // A listing may stay blank for a while before it shows its first icon.
                WaitFor([&] { return WindowImage(window).pixel(x, y) != qRgb(255, 255, 255); },
                        60000);
                Output("xdotool mousemove --window",
                       QStringList{QString::fromLatin1(window)} + point +
                           QStringList{QStringLiteral("click"), QStringLiteral("1")});
            } else {
                before = WindowsNamed(any).split('\n');
                Output("xdotool key", {key});
            }
            QThread::msleep(700);
            SaveScreen(QString::fromUtf8(title) +
                       QStringLiteral("-%1-%2").arg(attempt).arg(++step));
        }
        return true;
    }

    void end() {
        const FileManager& manager = std::get<0>(GetParam());
        if (fileManager.state() == QProcess::NotRunning) return;
        if (manager.quit != nullptr) {
            Output(manager.package, {QString::fromLatin1(manager.quit)});
            if (fileManager.waitForFinished(10000)) return;
        }
        fileManager.terminate();
        if (!fileManager.waitForFinished(10000)) {
            fileManager.kill();
            fileManager.waitForFinished(5000);
        }
    }

    QProcess fileManager;
};

TEST_P(FileManagerSendTo, ChoosingQuilletStartsTheProgramOnExactlyThatFolderOrOnNone) {
    const FileManager& manager = std::get<0>(GetParam());
    const FolderCase& folderCase = std::get<1>(GetParam());
    const QString command = QString::fromLatin1(manager.package);
    if (QStandardPaths::findExecutable(command).isEmpty()) {
        GTEST_SKIP() << manager.package << " is not installed";
    }
    const QByteArray version = Output("dpkg-query -W -f=${Version}", {command});

    Session& shared = SharedSession();
    ASSERT_EQ(shared.harness.form().Toolbar1.button(2).value, 1);
    ASSERT_TRUE(QFile::exists(QFile::decodeName(shared.launcher(manager))))
        << shared.launcher(manager).constData();
    const QByteArray& record = shared.record;
    ::unlink(record.constData());
    const QByteArray parentName =
        QByteArray("quillet-check-") + manager.name + '-' + folderCase.name;
    const QByteArray parent = shared.place.makeFolder(parentName);
    const QByteArray chosen = shared.place.makeFolder(parentName + '/' + folderCase.folder);

    // A file manager that is slow to read the listing on a busy machine, and so misses the
    // keys, gets another try; what it passes is checked all the same.
    const bool passedExactly = manager.keepsEveryByte || !folderCase.notUtf8;
    const auto answered = [&] {
        return passedExactly ? QFile::exists(QFile::decodeName(record))
                             : !WindowsNamed(kMessageOrProgram).isEmpty();
    };
    int tries = 0;
    bool chosenOnce = false;
    while (!chosenOnce && tries < 3) {
        ++tries;
        end();
        chosenOnce = openAndChoose(parent, shared.home.path(), tries) && WaitFor(answered, 20000);
    }
    const auto report = [&](const QByteArray& outcome) {
        std::printf(
            "%-9s %-17s %-38s %s%s\n", manager.name, version.constData(), folderCase.description,
            outcome.constData(),
            tries > 1 ? QByteArray(" (try " + QByteArray::number(tries) + ')').constData() : "");
        std::fflush(stdout);
    };
    if (!chosenOnce) report(passedExactly ? "NOT STARTED" : "NO MESSAGE");
    ASSERT_TRUE(chosenOnce) << fileManager.readAll().constData();

    QByteArray outcome;
    if (passedExactly) {
        QFile file(QFile::decodeName(record));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray arguments = file.readAll();
        EXPECT_EQ(arguments, chosen + '\0') << Shown(arguments).constData();
        outcome = arguments == chosen + '\0' ? "exact" : "DIFFERENT: " + Shown(arguments);
        // The stand-in becomes the real program, whose window shows.
        const pid_t pid = shared.place.read("pid").trimmed().toInt();
        const auto windowShown = [&] {
            return pid > 0 && !Output("xdotool search --onlyvisible --pid",
                                      {QString::number(pid), QStringLiteral("--name"),
                                       QStringLiteral("^Quillet$")})
                                   .isEmpty();
        };
        const bool shown = WaitFor(windowShown, 20000);
        EXPECT_TRUE(shown) << "the program started but showed no window";
        if (!shown) outcome += ", but no window";
        if (pid > 0) ::kill(pid, SIGTERM);
    } else {
        // The launcher refuses the name the file manager made up and says so in a dialog.
        QThread::msleep(2000);
        EXPECT_FALSE(QFile::exists(QFile::decodeName(record)))
            << "the program was started on another folder";
        outcome = QFile::exists(QFile::decodeName(record)) ? "STARTED ON ANOTHER FOLDER"
                                                           : "not started, a message says why";
        for (const QByteArray& id : WindowsNamed(kMessageOrProgram).split('\n')) {
            if (!id.isEmpty()) Output("xdotool windowkill", {QString::fromLatin1(id)});
        }
    }
    report(outcome);
}

INSTANTIATE_TEST_SUITE_P(FileManagers, FileManagerSendTo,
                         ::testing::Combine(::testing::ValuesIn(kFileManagers),
                                            ::testing::ValuesIn(kFolderCases)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + '_' +
                                    std::get<1>(info.param).name;
                         });

// The desktop asks whether a launcher on it is trusted before a double click may start it;
// GIO keeps the answer in the desktop's metadata store (gvfs), which this session has.
TEST(DesktopLauncherTrust, TheDesktopLauncherIsMarkedTrusted) {
    const QByteArray probe = Output("gio info -w /");
    if (!probe.contains(" metadata (")) GTEST_SKIP() << "no metadata store (gvfs) in this session";
    Session& shared = SharedSession();
    shared.harness.form().Toolbar1.userClick(1);
    const QString launcher = QString::fromUtf8(shared.home.pathOf("Desktop/Quillet.desktop"));
    ASSERT_TRUE(QFile::exists(launcher));
    EXPECT_TRUE(
        Output("gio info -a metadata::trusted", {launcher}).contains("metadata::trusted: true"));
}

}  // namespace
}  // namespace quillet::test
