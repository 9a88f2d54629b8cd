#include <gtest/gtest.h>
#include <sys/stat.h>
#include <xcb/xcb.h>

#include <QColor>
#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>

#include "program_scenarios.h"
#include "support/temp_folder.h"

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace quillet::e2e {
namespace {

QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// A camera's pictures: small real JPEG files, each one different, so a test can tell which
// picture ended under which name.
void WritePictures(const test::TempFolder& folder, const QStringList& names, const char* format) {
    int hue = 0;
    for (const QString& name : names) {
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(QColor::fromHsv(hue, 160, 220));
        hue = (hue + 47) % 360;
        QPainter painter(&picture);
        painter.drawText(picture.rect(), Qt::AlignCenter, name);
        painter.end();
        ASSERT_TRUE(picture.save(QString::fromUtf8(folder.pathOf(name.toUtf8())), format));
    }
}

QHash<QString, QByteArray> Contents(const test::TempFolder& folder) {
    QHash<QString, QByteArray> files;
    for (const QByteArray& name : folder.names())
        files.insert(QString::fromUtf8(name), folder.read(name));
    return files;
}

// What the finished program left: its exit, and the "key=value" lines its session reported.
struct ProgramRun {
    bool finished = false;
    int exitCode = -1;
    QHash<QString, QString> seen;
    QString errors;
};

// The program in a process of its own, so that its end is its real end.
class EndToEnd : public ::testing::Test {
  protected:
    ProgramRun run(const QString& scenario, const QByteArray& folder,
                   const QStringList& environment = {}, const QByteArray& workingFolder = {}) {
        QProcess program;
        if (!workingFolder.isEmpty()) program.setWorkingDirectory(QString::fromUtf8(workingFolder));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome());
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + QStringLiteral("/data"));
        // Pictures of the window go to the build tree; the screenshots target copies them.
        env.insert(QStringLiteral("QUILLET_SHOTS"), QStringLiteral(QUILLET_SHOTS_DIR));
        for (const QString& setting : environment) {
            const qsizetype equals = setting.indexOf(QLatin1Char('='));
            env.insert(setting.left(equals), setting.mid(equals + 1));
        }
        program.setProcessEnvironment(env);
        program.start(QCoreApplication::applicationFilePath(),
                      {QStringLiteral("--program"), scenario, QString::fromUtf8(folder)});
        ProgramRun result;
        result.finished = program.waitForFinished(30000);
        if (!result.finished) {
            program.kill();
            program.waitForFinished(5000);
        }
        result.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
        for (const QByteArray& line : program.readAllStandardOutput().split('\n')) {
            const qsizetype equals = line.indexOf('=');
            if (equals > 0)
                result.seen.insert(QString::fromUtf8(line.left(equals)),
                                   QString::fromUtf8(line.mid(equals + 1)));
        }
        result.errors = QString::fromUtf8(program.readAllStandardError());
        return result;
    }

    QString configHome() const { return home.path() + QStringLiteral("/config"); }

    // The value the companion viewer reads, or a null string when there is none.
    QString handshake() const {
        const QString file = configHome() + QStringLiteral("/Pixalo.conf");
        if (!QFile::exists(file)) return {};
        QSettings settings(file, QSettings::IniFormat);
        return settings.value(QStringLiteral("Counter/app")).toString();
    }

    void seedHandshake(const QString& value) const {
        QSettings settings(configHome() + QStringLiteral("/Pixalo.conf"), QSettings::IniFormat);
        settings.setValue(QStringLiteral("Counter/app"), value);
    }

    static bool readOnly(const QByteArray& path) {
        struct stat info {};
        return ::stat(path.constData(), &info) == 0 && (info.st_mode & 0222) == 0;
    }

    QTemporaryDir home;
    test::TempFolder photos;
    const QStringList camera = {U("IMG_0412.jpg"), U("IMG_0413.jpg"), U("IMG_0414.jpg"),
                                U("IMG_0415.jpg"), U("IMG_0416.jpg"), U("IMG_0417.jpg")};
};

#define EXPECT_ENDED(run)                                                   \
    do {                                                                    \
        ASSERT_TRUE((run).finished) << "the program did not end";           \
        EXPECT_EQ((run).exitCode, 0) << (run).errors.toStdString();         \
        EXPECT_FALSE((run).seen.contains(QStringLiteral("still-running"))); \
    } while (false)

#define EXPECT_STAYED_OPEN(run)                                                     \
    do {                                                                            \
        ASSERT_TRUE((run).finished) << "the session did not finish";                \
        EXPECT_EQ((run).exitCode, kWindowStayedOpen) << (run).errors.toStdString(); \
    } while (false)

TEST_F(EndToEnd, TheTypicalRunRenamesTheCheckedPicturesInListOrderAndEnds) {
    WritePictures(photos, camera, "JPEG");
    photos.write("notes.txt", "not a picture");
    const auto before = Contents(photos);

    const ProgramRun result = run(QStringLiteral("typical"), photos.path());

    EXPECT_ENDED(result);
    EXPECT_EQ(result.seen.value(QStringLiteral("box-title")), U("実行確認"));
    EXPECT_EQ(result.seen.value(QStringLiteral("new-names")),
              U("trip_001.jpg||trip_002.jpg||trip_003.jpg|trip_004.jpg"));
    const auto after = Contents(photos);
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(after.value(U("trip_001.jpg")), before.value(U("IMG_0412.jpg")));
    EXPECT_EQ(after.value(U("IMG_0413.jpg")), before.value(U("IMG_0413.jpg")));
    EXPECT_EQ(after.value(U("trip_002.jpg")), before.value(U("IMG_0414.jpg")));
    EXPECT_EQ(after.value(U("IMG_0415.jpg")), before.value(U("IMG_0415.jpg")));
    EXPECT_EQ(after.value(U("trip_003.jpg")), before.value(U("IMG_0416.jpg")));
    EXPECT_EQ(after.value(U("trip_004.jpg")), before.value(U("IMG_0417.jpg")));
    EXPECT_EQ(after.value(U("notes.txt")), before.value(U("notes.txt")));
    EXPECT_EQ(handshake(), U("0"));
}

TEST_F(EndToEnd, ADeclinedRunChangesNoFileAndLeavesTheViewersValue) {
    WritePictures(photos, camera, "JPEG");
    seedHandshake(U("7"));
    const auto before = Contents(photos);

    const ProgramRun result = run(QStringLiteral("declined"), photos.path());

    EXPECT_STAYED_OPEN(result);
    EXPECT_EQ(result.seen.value(QStringLiteral("window-visible")), U("yes"));
    EXPECT_TRUE(result.seen.value(QStringLiteral("new-names")).startsWith(U("trip_001.jpg|")));
    EXPECT_EQ(Contents(photos), before);
    EXPECT_EQ(handshake(), U("7"));
}

// Qt would take these for its own options (right-to-left layout, another display platform);
// to the program they are folder names like any other.
TEST_F(EndToEnd, AFolderNamedLikeAQtOptionIsTheFolderListed) {
    for (const char* name : {"-reverse", "-platform"}) {
        test::TempFolder parent;
        parent.makeFolder(name);
        const QByteArray inside = parent.pathOf(name);
        ASSERT_TRUE(QImage(8, 8, QImage::Format_RGB32)
                        .save(QString::fromUtf8(inside + "/IMG_0001.JPG"), "JPEG"));
        const ProgramRun result = run(QStringLiteral("declined"), name, {}, parent.path());
        EXPECT_STAYED_OPEN(result);
        EXPECT_TRUE(result.seen.value(QStringLiteral("new-names")).startsWith(U("trip_")))
            << name << ": " << result.seen.value(QStringLiteral("new-names")).toStdString();
        EXPECT_EQ(test::NamesIn(inside), QList<QByteArray>{"IMG_0001.JPG"});
    }
}

TEST_F(EndToEnd, ExtendedModeRenamesInAFolderChosenInTheDialogAndListsItAfresh) {
    WritePictures(photos, camera, "JPEG");
    test::TempFolder scans;
    WritePictures(scans, {U("scan_07.png"), U("scan_09.png"), U("scan_12.png")}, "PNG");
    scans.write("notes.txt", "left alone: the wildcard does not take it");
    const auto photosBefore = Contents(photos);
    const auto scansBefore = Contents(scans);

    const ProgramRun result =
        run(QStringLiteral("extended"), photos.path(),
            {QStringLiteral("QUILLET_OTHER_FOLDER=") + QString::fromUtf8(scans.path())});

    EXPECT_STAYED_OPEN(result);
    EXPECT_EQ(result.seen.value(QStringLiteral("dialog-title")),
              U("開くフォルダを指定してください。"))
        << result.seen.value(QStringLiteral("dialog-typed")).toStdString();
    EXPECT_EQ(result.seen.value(QStringLiteral("listed-folder")), QString::fromUtf8(scans.path()));
    EXPECT_EQ(result.seen.value(QStringLiteral("old-names")),
              U("scan_07.png|scan_09.png|scan_12.png"));
    EXPECT_EQ(result.seen.value(QStringLiteral("new-names")),
              U("page_01.png|page_02.png|page_03.png"));
    EXPECT_EQ(result.seen.value(QStringLiteral("window-visible")), U("yes"));
    EXPECT_EQ(result.seen.value(QStringLiteral("listed-after")),
              U("page_01.png|page_02.png|page_03.png"));
    // Nothing to report about the pass: the bar says only what a click on it does.
    EXPECT_EQ(result.seen.value(QStringLiteral("status-hint")),
              U("クリックで開くフォルダを指定します"));
    const auto scansAfter = Contents(scans);
    EXPECT_EQ(scansAfter.size(), scansBefore.size());
    EXPECT_EQ(scansAfter.value(U("page_01.png")), scansBefore.value(U("scan_07.png")));
    EXPECT_EQ(scansAfter.value(U("page_02.png")), scansBefore.value(U("scan_09.png")));
    EXPECT_EQ(scansAfter.value(U("page_03.png")), scansBefore.value(U("scan_12.png")));
    EXPECT_EQ(scansAfter.value(U("notes.txt")), scansBefore.value(U("notes.txt")));
    EXPECT_EQ(Contents(photos), photosBefore);
    EXPECT_EQ(handshake(), U("0"));
}

// A new name that a file outside the list already holds: the window shows, before anything is
// executed, which row would keep its name.
TEST_F(EndToEnd, ARowWhoseNewNameIsTakenIsMarkedBeforeExecutionAndKeepsItsName) {
    WritePictures(photos, camera.mid(0, 3), "JPEG");
    photos.write("trip_001.jpg", "already here");
    const auto before = Contents(photos);

    const ProgramRun result = run(QStringLiteral("failure-marks"), photos.path());

    EXPECT_STAYED_OPEN(result);
    EXPECT_EQ(result.seen.value(QStringLiteral("old-names")),
              U("IMG_0412.jpg|IMG_0413.jpg|IMG_0414.jpg"));
    EXPECT_EQ(result.seen.value(QStringLiteral("new-names")),
              U("trip_001.jpg|trip_002.jpg|trip_003.jpg"));
    EXPECT_TRUE(result.seen.value(QStringLiteral("first-tool-tip")).contains(U("trip_001.jpg")))
        << result.seen.value(QStringLiteral("first-tool-tip")).toStdString();
    EXPECT_EQ(result.seen.value(QStringLiteral("marked")), U("IMG_0412.jpg"));
    EXPECT_EQ(result.seen.value(QStringLiteral("count-tool-tip")),
              U("チェックしたファイルのうち 1 個は、実行しても名前が変わりません"));
    EXPECT_TRUE(QFile::exists(QStringLiteral(QUILLET_SHOTS_DIR "/quillet-failure-marks.png")));
    // The pass leaves exactly the marked file under its name, and says so from its own report.
    auto expected = before;
    expected[U("trip_002.jpg")] = expected.take(U("IMG_0413.jpg"));
    expected[U("trip_003.jpg")] = expected.take(U("IMG_0414.jpg"));
    EXPECT_EQ(Contents(photos), expected);
    EXPECT_EQ(result.seen.value(QStringLiteral("listed-after")), U("IMG_0412.jpg"));
    EXPECT_EQ(result.seen.value(QStringLiteral("status-hint")),
              U("前回の実行では 1 個のファイルの名前が変わりませんでした"));
}

TEST_F(EndToEnd, AttributeOnlyModeMakesTheCheckedPicturesReadOnlyAndEnds) {
    WritePictures(photos, camera.mid(0, 4), "JPEG");
    const auto before = Contents(photos);

    const ProgramRun result = run(QStringLiteral("read-only"), photos.path());

    EXPECT_ENDED(result);
    EXPECT_EQ(result.seen.value(QStringLiteral("new-names")), U("*-*-*-*|*-*-*-*||"));
    EXPECT_EQ(Contents(photos), before) << "no file may be renamed";
    EXPECT_TRUE(readOnly(photos.pathOf("IMG_0412.jpg")));
    EXPECT_TRUE(readOnly(photos.pathOf("IMG_0413.jpg")));
    EXPECT_FALSE(readOnly(photos.pathOf("IMG_0414.jpg")));
    EXPECT_FALSE(readOnly(photos.pathOf("IMG_0415.jpg")));
    EXPECT_EQ(handshake(), U("0"));
}

TEST_F(EndToEnd, TheListMenuSelectsAllUnchecksAndChecksAgain) {
    WritePictures(photos, camera, "JPEG");
    const auto before = Contents(photos);

    const ProgramRun result = run(QStringLiteral("list-menu"), photos.path());

    EXPECT_STAYED_OPEN(result);
    EXPECT_EQ(result.seen.value(QStringLiteral("help-raised")), U("0"));
    EXPECT_EQ(result.seen.value(QStringLiteral("help-parked")), U("yes"));
    EXPECT_EQ(result.seen.value(QStringLiteral("selected")), U("6"));
    EXPECT_EQ(result.seen.value(QStringLiteral("checked-after-uncheck")), U("0"));
    EXPECT_EQ(result.seen.value(QStringLiteral("checked-after-check")), U("6"));
    EXPECT_EQ(result.seen.value(QStringLiteral("new-names")),
              U("IMG_001.jpg|IMG_002.jpg|IMG_003.jpg|IMG_004.jpg|IMG_005.jpg|IMG_006.jpg"));
    EXPECT_EQ(Contents(photos), before);
}

// Both ways out without renaming: the cancel button and the window's close button.
class WayOut : public EndToEnd, public ::testing::WithParamInterface<const char*> {};

TEST_P(WayOut, EndsTheProgramWithTheViewersValueWrittenAndNoFileChanged) {
    WritePictures(photos, camera, "JPEG");
    seedHandshake(U("5"));
    const auto before = Contents(photos);

    const ProgramRun result = run(QString::fromUtf8(GetParam()), photos.path());

    EXPECT_ENDED(result);
    EXPECT_EQ(handshake(), U("0"));
    EXPECT_EQ(Contents(photos), before);
}

INSTANTIATE_TEST_SUITE_P(EndToEnd, WayOut, ::testing::Values("cancel", "close"),
                         [](const auto& info) { return std::string(info.param); });

// The program binary itself, closed the way a window manager closes it when the user clicks
// the frame's close button: a WM_DELETE_WINDOW message to its window.
xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t found = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return found;
}

QList<uint32_t> WindowsNamed(const QString& name) {
    QProcess search;
    search.start(QStringLiteral("xdotool"),
                 {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                  QStringLiteral("--name"), QLatin1Char('^') + name + QLatin1Char('$')});
    search.waitForFinished(5000);
    QList<uint32_t> windows;
    for (const QByteArray& line : search.readAllStandardOutput().split('\n')) {
        if (!line.trimmed().isEmpty()) windows.push_back(line.trimmed().toUInt());
    }
    return windows;
}

void AskToClose(uint32_t window) {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    ASSERT_EQ(xcb_connection_has_error(connection), 0);
    xcb_client_message_event_t message;
    std::memset(&message, 0, sizeof message);
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = Atom(connection, "WM_PROTOCOLS");
    message.data.data32[0] = Atom(connection, "WM_DELETE_WINDOW");
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    xcb_disconnect(connection);
}

TEST_F(EndToEnd, TheInstalledProgramEndsWhenItsWindowIsClosed) {
    WritePictures(photos, camera.mid(0, 3), "JPEG");
    const auto before = Contents(photos);
    ASSERT_TRUE(WindowsNamed(QStringLiteral("Quillet")).isEmpty())
        << "a window is left from before";

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome());
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(QUILLET_PROGRAM), {QString::fromUtf8(photos.path())});
    ASSERT_TRUE(program.waitForStarted(10000));
    QList<uint32_t> windows;
    const bool appeared = QTest::qWaitFor(
        [&windows] {
            windows = WindowsNamed(QStringLiteral("Quillet"));
            return !windows.isEmpty();
        },
        20000);
    ASSERT_TRUE(appeared) << "the program's window did not appear";
    ASSERT_EQ(windows.size(), 1) << "the program's window did not appear";
    EXPECT_EQ(program.state(), QProcess::Running);
    EXPECT_EQ(handshake(), QString()) << "nothing is written before the end";

    // A window that has just been mapped may not yet take the message (Qt drops a close that
    // arrives before the window is fully set up), so the close is asked for again, as a user
    // would click once more, until the program has gone.
    const bool ended = QTest::qWaitFor(
        [&program, &windows] {
            AskToClose(windows.front());
            return program.waitForFinished(500);
        },
        10000);
    if (!ended) {
        program.kill();
    }
    ASSERT_TRUE(ended) << "the program is still running after its window was closed";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(handshake(), U("0"));
    EXPECT_EQ(Contents(photos), before);
    EXPECT_TRUE(WindowsNamed(QStringLiteral("Quillet")).isEmpty());
}

}  // namespace
}  // namespace quillet::e2e
