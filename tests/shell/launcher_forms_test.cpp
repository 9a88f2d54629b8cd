#include "shell/launcher_forms.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <cctype>
#include <cstdint>

#include "support/temp_folder.h"

// GLib, from which Thunar, Nautilus, Caja and Nemo take their answers, called without its
// headers, which the test suite does not install; Qt already links it.
extern "C" {
struct GError {
    std::uint32_t domain;
    int code;
    char* message;
};
char* g_filename_to_uri(const char* filename, const char* hostname, GError** error);
int g_spawn_command_line_sync(const char* commandLine, char** standardOutput, char** standardError,
                              int* waitStatus, GError** error);
void g_free(void* memory);
void g_error_free(GError* error);
}

namespace quillet::test {
namespace {

// The URI that GIO gives a local path, as Nautilus and Caja hand it to a script.
QByteArray GlibFileUri(const QByteArray& path) {
    char* uri = g_filename_to_uri(path.constData(), nullptr, nullptr);
    const QByteArray result(uri);
    g_free(uri);
    return result;
}

// Runs a command line as Nemo runs an action's, splitting it with g_shell_parse_argv; returns
// GLib's error, or an empty text when it ran.
QByteArray GlibRunCommandLine(const QByteArray& commandLine) {
    GError* error = nullptr;
    int status = 0;
    if (g_spawn_command_line_sync(commandLine.constData(), nullptr, nullptr, &status, &error))
        return {};
    const QByteArray message = error ? QByteArray(error->message) : QByteArray("failed");
    if (error) g_error_free(error);
    return message;
}

struct Form {
    const char* name;
    LauncherForm form;
};

const Form kForms[] = {
    {"ThunarSendTo", LauncherForm::ThunarSendTo},
    {"DolphinServiceMenu", LauncherForm::DolphinServiceMenu},
    {"NautilusScript", LauncherForm::NautilusScript},
    {"CajaScript", LauncherForm::CajaScript},
    {"NemoAction", LauncherForm::NemoAction},
};

// Blanks, both quotes, "%", "$", a backslash, a backtick, a line break and a byte that is not
// UTF-8 in the program's folder.
const QByteArray kProgramFolder = "prog \"q\" 'a' 100% $HOME \\b `t` %f\nline \xfe";

// A name the file manager hands over; the launcher must start nothing on a file, or on a name
// that may stand for another folder.
struct ChosenName {
    const char* name;
    QByteArray path;
    bool isFile;
    // Dolphin passes bytes that are not UTF-8 as U+FFFD, so a name holding U+FFFD may stand
    // for another folder.
    bool dolphinRefuses;
};

const ChosenName kChosenNames[] = {
    {"Awkward", "写真 \"x\" 'y' 50%f $z \\n \\c `b` end", false, false},
    {"LineBreaks", "line\nbreak\n", false, false},
    {"NotUtf8", "bad \xff byte", false, false},
    {"ReplacementCharacter", "bad \xEF\xBF\xBD byte", false, true},
    {"AFile", "photo 1.jpg", true, false},
};

QByteArray NotStartedMessage(const QByteArray& path) {
    return "Quillet を起動しませんでした。「" + path +
           "」はフォルダではないか、ファイル マネージャーから名前を正しく受け取れませんでした。";
}

QByteArray Recorder(const QByteArray& record) {
    // printf runs its format once even without arguments.
    return "#!/bin/sh\n{ [ $# -eq 0 ] || printf '%s\\0' \"$@\"; } > '" + record + ".part' && mv '" +
           record + ".part' '" + record + "'\n";
}

QList<QByteArray> ArgumentsIn(const QByteArray& record) {
    QFile file(QFile::decodeName(record));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QList<QByteArray> arguments = file.readAll().split('\0');
    arguments.removeLast();
    return arguments;
}

bool WaitForFile(const QByteArray& path, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(QFile::decodeName(path))) {
        if (timer.elapsed() > milliseconds) return false;
        QThread::msleep(20);
    }
    return true;
}

// A launcher run as its file manager runs it on one chosen path, through the parser that file
// manager uses: GIO for the desktop entries (Dolphin's Exec follows the same rules), GLib's
// command-line splitting after Nemo's own expansion for the action, and the Scripts menu's
// variables for the scripts. The program is a stand-in that writes down its arguments, and the
// dialog tools are a stand-in kdialog that writes down what it was asked to say.
class LauncherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        programFolder = root.makeFolder(kProgramFolder);
        root.write(kProgramFolder + "/Quillex", Recorder(record));
        ::chmod((programFolder + "/Quillex").constData(), 0755);
        const QByteArray tools = root.makeFolder("tools");
        root.write("tools/kdialog", Recorder(dialog));
        ::chmod((tools + "/kdialog").constData(), 0755);
        savedPath = qgetenv("PATH");
        qputenv("PATH", tools + ":/usr/bin:/bin");
        parent = root.makeFolder("parent");
    }
    void TearDown() override { qputenv("PATH", savedPath); }

    void run(LauncherForm form, const QByteArray& path) {
        const LauncherFile launcher = SendToLauncher(form, programFolder + "/Quillex");
        const QByteArray exec = launcher.content.mid(launcher.content.indexOf("\nExec=") + 1);
        switch (form) {
            case LauncherForm::ThunarSendTo:
                errors = gioLaunch(root.write("Quillet.desktop", launcher.content), path);
                break;
            case LauncherForm::DolphinServiceMenu:
                errors = gioLaunch(root.write("action.desktop",
                                              "[Desktop Entry]\nType=Application\nName=Quillet\n" +
                                                  exec.left(exec.indexOf('\n') + 1)),
                                   path);
                break;
            case LauncherForm::NemoAction:
                errors = GlibRunCommandLine(nemoExpanded(launcher.content, path));
                break;
            case LauncherForm::NautilusScript:
            case LauncherForm::CajaScript:
                runScript(form, GlibFileUri(path) + "\nfile:///other\n", GlibFileUri(parent));
                break;
        }
    }

    // The script from the parent's listing. Its argument is the name as the file manager
    // mangles it, with "%" taken for a field code.
    void runScript(LauncherForm form, const QByteArray& uris, const QByteArray& current) {
        const QByteArray file =
            root.write("script", SendToLauncher(form, programFolder + "/Quillex").content);
        ::chmod(file.constData(), 0755);
        const QByteArray prefix = form == LauncherForm::NautilusScript ? "NAUTILUS" : "CAJA";
        const QByteArray selected = prefix + "_SCRIPT_SELECTED_URIS";
        const QByteArray shown = prefix + "_SCRIPT_CURRENT_URI";
        qputenv(selected.constData(), uris);
        qputenv(shown.constData(), current);
        QProcess process;
        process.setWorkingDirectory(QFile::decodeName(parent));
        process.start(QFile::decodeName(file), {QStringLiteral("mangled")});
        process.waitForFinished(20000);
        errors = process.readAllStandardError();
        qunsetenv(selected.constData());
        qunsetenv(shown.constData());
    }

    // Runs `gio launch` through the shell, since QProcess passes only text; on no path when
    // `path` is empty.
    static QByteArray gioLaunch(const QByteArray& entry, const QByteArray& path) {
        qputenv("QUILLET_TEST_PATH", path);
        QProcess gio;
        gio.start(
            QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"),
             QStringLiteral("exec gio launch \"$0\" ${QUILLET_TEST_PATH:+\"$QUILLET_TEST_PATH\"}"),
             QFile::decodeName(entry)});
        gio.waitForFinished(20000);
        qunsetenv("QUILLET_TEST_PATH");
        return gio.readAllStandardError();
    }

    // Nemo reads the key file value, then puts each path in place of %F, turns "%%" into "%"
    // and goes on after what it put in. With Quote=single it puts the path in single quotes;
    // otherwise it puts a backslash before every character the shell might take for its own,
    // which cannot keep a line break.
    static QByteArray nemoExpanded(const QByteArray& action, const QByteArray& path) {
        QByteArray exec = action.mid(action.indexOf("\nExec=") + 6);
        exec = exec.left(exec.indexOf('\n')).replace("\\\\", "\\");
        QByteArray quoted;
        if (action.contains("\nQuote=single\n")) {
            quoted = '\'' + QByteArray(path).replace("'", "'\\''") + '\'';
        } else {
            for (const char c : path) {
                if (!std::isalnum(static_cast<unsigned char>(c)) && c != '/') quoted += '\\';
                quoted += c;
            }
        }
        return exec.replace("%%", "\x01").replace("%F", quoted).replace("\x01", "%");
    }

    QList<QByteArray> startedWith() {
        WaitForFile(record, 15000);
        return ArgumentsIn(record);
    }

    // What the dialog said, once it has; the program must not have started by then.
    QList<QByteArray> saidInstead() {
        WaitForFile(dialog, 15000);
        QThread::msleep(200);
        EXPECT_FALSE(QFile::exists(QFile::decodeName(record))) << "the program was started";
        return ArgumentsIn(dialog);
    }

    TempFolder root;
    const QByteArray record = root.pathOf("record");
    const QByteArray dialog = root.pathOf("dialog");
    QByteArray programFolder, parent, savedPath, errors;
};

class LauncherRun : public LauncherTest,
                    public ::testing::WithParamInterface<std::tuple<Form, ChosenName>> {};

TEST_P(LauncherRun, StartsTheProgramOnExactlyTheChosenFolderOrOnNoneAndSaysWhy) {
    if (QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty()) GTEST_SKIP();
    const auto& [form, name] = GetParam();
    const QByteArray chosen =
        name.isFile ? root.write("parent/" + name.path) : root.makeFolder("parent/" + name.path);
    run(form.form, chosen);
    if (name.isFile || (form.form == LauncherForm::DolphinServiceMenu && name.dolphinRefuses)) {
        EXPECT_EQ(saidInstead(),
                  (QList<QByteArray>{"--title", "Quillet", "--sorry", NotStartedMessage(chosen)}))
            << errors.constData();
    } else {
        EXPECT_EQ(startedWith(), QList<QByteArray>{chosen}) << errors.constData();
    }
}

INSTANTIATE_TEST_SUITE_P(EveryFileManager, LauncherRun,
                         ::testing::Combine(::testing::ValuesIn(kForms),
                                            ::testing::ValuesIn(kChosenNames)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + '_' +
                                    std::get<1>(info.param).name;
                         });

class ScriptLauncher : public LauncherTest, public ::testing::WithParamInterface<Form> {};

// With nothing selected, the folder shown. Nothing on a remote folder, or on a URI that no GIO
// makes: printf would take a raw backslash for an escape.
TEST_P(ScriptLauncher, StartsOnTheFolderShownWithNothingSelectedAndOnNoItemItCannotName) {
    const QByteArray shown = root.makeFolder("parent/100% \n");
    runScript(GetParam().form, {}, GlibFileUri(shown));
    EXPECT_EQ(startedWith(), QList<QByteArray>{shown}) << errors.constData();
    ::unlink(record.constData());
    root.makeFolder("parent/x\\y");
    for (const QByteArray& uri : {QByteArray("sftp://host/photos"), "file://" + parent + "/x\\y"}) {
        SCOPED_TRACE(uri.constData());
        ::unlink(dialog.constData());
        runScript(GetParam().form, uri + '\n', GlibFileUri(parent));
        EXPECT_EQ(saidInstead().value(3), NotStartedMessage(uri)) << errors.constData();
    }
}

INSTANTIATE_TEST_SUITE_P(NautilusAndCaja, ScriptLauncher, ::testing::Values(kForms[2], kForms[3]),
                         [](const auto& info) { return std::string(info.param.name); });

// What each desktop entry tells its file manager besides the command, which no run above reads:
// the kind of entry, and that it is offered for a folder alone.
TEST(LauncherText, EachDesktopEntryIsOfferedForAFolderAlone) {
    const auto withoutCommand = [](LauncherForm form) {
        QByteArray text = SendToLauncher(form, "/p/Quillex").content;
        const qsizetype exec = text.indexOf("\nExec=") + 6;
        return text.remove(exec, text.indexOf('\n', exec) - exec);
    };
    EXPECT_EQ(
        withoutCommand(LauncherForm::ThunarSendTo),
        "[Desktop Entry]\nType=Application\nName=Quillet\nExec=\nMimeType=inode/directory;\n");
    EXPECT_EQ(withoutCommand(LauncherForm::DolphinServiceMenu),
              "[Desktop Entry]\nType=Service\nX-KDE-ServiceTypes=KonqPopupMenu/Plugin\n"
              "MimeType=inode/directory;\nActions=quillet;\n\n[Desktop Action quillet]\n"
              "Name=Quillet\nExec=\n");
    EXPECT_EQ(withoutCommand(LauncherForm::NemoAction),
              "[Nemo Action]\nName=Quillet\nExec=\nSelection=s\nExtensions=dir;\nQuote=single\n");
}

// A double click starts the program on its own; a folder dropped on the launcher, there.
TEST_F(LauncherTest, TheDesktopLauncherStartsTheProgramOnADroppedFolderOrOnNone) {
    if (QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty()) GTEST_SKIP();
    const QByteArray launcher =
        root.write("Quillet.desktop", DesktopLauncher(programFolder + "/Quillex").content);
    const QByteArray chosen = root.makeFolder("parent/" + kChosenNames[0].path);
    errors = gioLaunch(launcher, chosen);
    EXPECT_EQ(startedWith(), QList<QByteArray>{chosen}) << errors.constData();
    ::unlink(record.constData());
    errors = gioLaunch(launcher, {});
    EXPECT_TRUE(WaitForFile(record, 15000)) << errors.constData();
    EXPECT_EQ(ArgumentsIn(record), QList<QByteArray>{});
}

}  // namespace
}  // namespace quillet::test
