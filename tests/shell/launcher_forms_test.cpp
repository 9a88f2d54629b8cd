#include "shell/launcher_forms.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <cctype>

#include "support/glib_calls.h"
#include "support/temp_folder.h"

namespace quillet::test {
namespace {

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

struct ChosenName {
    const char* name;
    QByteArray folder;
    // Dolphin passes bytes that are not UTF-8 as U+FFFD, so a name holding U+FFFD may stand
    // for another folder.
    bool dolphinRefuses;
};

const ChosenName kChosenNames[] = {
    {"Awkward", "写真 \"x\" 'y' 50%f $z \\n \\c `b` end", false},
    {"LineBreaks", "line\nbreak\n", false},
    {"NotUtf8", "bad \xff byte", false},
    {"ReplacementCharacter", "bad \xEF\xBF\xBD byte", true},
};

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
        const QByteArray exec = launcher.content.mid(launcher.content.indexOf("\nExec=") + 6);
        const QByteArray execLine = exec.left(exec.indexOf('\n'));
        switch (form) {
            case LauncherForm::ThunarSendTo:
                errors = gioLaunch(root.write("Quillet.desktop", launcher.content), path);
                break;
            case LauncherForm::DolphinServiceMenu:
                errors = gioLaunch(root.write("action.desktop",
                                              "[Desktop Entry]\nType=Application\nName=Quillet\n"
                                              "Exec=" +
                                                  execLine + '\n'),
                                   path);
                break;
            case LauncherForm::NemoAction:
                errors = GlibRunCommandLine(nemoExpanded(launcher.content, path));
                break;
            case LauncherForm::NautilusScript:
            case LauncherForm::CajaScript: {
                const QByteArray prefix =
                    form == LauncherForm::NautilusScript ? "NAUTILUS" : "CAJA";
                runScript(launcher.content, prefix, GlibFileUri(path) + "\nfile:///other\n",
                          GlibFileUri(parent));
                break;
            }
        }
    }

    // The script from the parent's listing. Its argument is the name as the file manager
    // mangles it, with "%" taken for a field code.
    void runScript(const QByteArray& script, const QByteArray& prefix, const QByteArray& uris,
                   const QByteArray& current) {
        const QByteArray file = root.write("script", script);
        ::chmod(file.constData(), 0755);
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
        QByteArray line;
        for (qsizetype i = 0; i < exec.size(); ++i) {
            if (exec[i] == '%' && i + 1 < exec.size() &&
                (exec[i + 1] == '%' || exec[i + 1] == 'F')) {
                line += exec[i + 1] == '%' ? QByteArray("%") : quoted;
                ++i;
            } else {
                line += exec[i];
            }
        }
        return line;
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

TEST_P(LauncherRun, StartsTheProgramOnExactlyTheChosenFolderOrOnNone) {
    if (QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty()) GTEST_SKIP();
    const auto& [form, chosenName] = GetParam();
    const QByteArray chosen = root.makeFolder("parent/" + chosenName.folder);
    run(form.form, chosen);
    if (form.form == LauncherForm::DolphinServiceMenu && chosenName.dolphinRefuses) {
        const QList<QByteArray> said = saidInstead();
        ASSERT_EQ(said.size(), 4) << errors.constData();
        EXPECT_TRUE(said[3].contains("「" + chosen + "」")) << said[3].constData();
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

class LauncherRefusal : public LauncherTest, public ::testing::WithParamInterface<Form> {};

// A selected file, a folder gone since: the program would work on some other folder.
TEST_P(LauncherRefusal, StartsNothingOnAPathThatIsNoFolderAndSaysWhy) {
    if (QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty()) GTEST_SKIP();
    const QByteArray file = root.write("parent/photo 1.jpg");
    run(GetParam().form, file);
    EXPECT_EQ(saidInstead(),
              (QList<QByteArray>{"--title", "Quillet", "--sorry",
                                 "Quillet を起動しませんでした。「" + file +
                                     "」はフォルダではないか、ファイル マネージャーから名前を正しく"
                                     "受け取れませんでした。"}))
        << errors.constData();
}

INSTANTIATE_TEST_SUITE_P(EveryFileManager, LauncherRefusal, ::testing::ValuesIn(kForms),
                         [](const auto& info) { return std::string(info.param.name); });

class ScriptLauncher : public LauncherTest, public ::testing::WithParamInterface<Form> {
  protected:
    QByteArray prefix() const {
        return GetParam().form == LauncherForm::NautilusScript ? "NAUTILUS" : "CAJA";
    }
    QByteArray script() {
        return SendToLauncher(GetParam().form, programFolder + "/Quillex").content;
    }
};

TEST_P(ScriptLauncher, WithNothingSelectedStartsTheProgramOnTheFolderShown) {
    const QByteArray shown = root.makeFolder("parent/100% \n");
    runScript(script(), prefix(), {}, GlibFileUri(shown));
    EXPECT_EQ(startedWith(), QList<QByteArray>{shown}) << errors.constData();
}

// A remote folder, or a URI that no GIO makes: printf would take a raw backslash for an escape.
TEST_P(ScriptLauncher, StartsNothingOnAnItemItCannotNameExactly) {
    root.makeFolder("parent/x\\y");
    for (const QByteArray& uri : {QByteArray("sftp://host/photos"), "file://" + parent + "/x\\y"}) {
        SCOPED_TRACE(uri.constData());
        ::unlink(dialog.constData());
        runScript(script(), prefix(), uri + '\n', GlibFileUri(parent));
        const QList<QByteArray> said = saidInstead();
        ASSERT_EQ(said.size(), 4) << errors.constData();
        EXPECT_TRUE(said[3].contains("「" + uri + "」")) << said[3].constData();
    }
}

INSTANTIATE_TEST_SUITE_P(NautilusAndCaja, ScriptLauncher, ::testing::Values(kForms[2], kForms[3]),
                         [](const auto& info) { return std::string(info.param.name); });

// The text each file manager reads, for a program whose folder holds blanks, both quotes, "%",
// "$", a backslash, a backtick, a line break and a byte that is not UTF-8. The desktop entries
// stay printable ASCII apart from the message; the shell runs the program through printf.
const QByteArray kProgram = "/o p/\"q\" 'a' 5% $H \\b `t`\n\xff/Quillex";

const char kShellExec[] =
    R"(/bin/sh -c "p=\\$(printf '%%bx' \\"\\$0\\"); p=\\${p%%x}; @START@; m=\\"Quillet を起動しませんでした。「\\$1」はフォルダではないか、ファイル マネージャーから名前を正しく受け取れませんでした。\\"; if command -v kdialog >/dev/null; then kdialog --title Quillet --sorry \\"\\$m\\"; elif command -v zenity >/dev/null; then zenity --warning --title=Quillet --no-markup --text=\\"\\$m\\"; else xmessage -center \\"Quillet was not started: \\\\\\"\\$1\\\\\\" is not a folder, or the file manager could not pass its name exactly.\\"; fi; printf '%%s\\\\n' \\"\\$m\\" >&2" "/o p/\\"q\\" 'a' 5%% \\$H \\\\\\\\b \\`t\\`\\\\0012\\\\0377/Quillex")";
const char kStart[] = R"(if [ -d \\"\\$1\\" ]; then exec \\"\\$p\\" \\"\\$1\\"; fi)";

QByteArray ShellExec(bool refuseReplaced) {
    const QByteArray start = refuseReplaced
                                 ? R"(case \\$1 in *�*) ;; *) )" + QByteArray(kStart) + " ;; esac"
                                 : QByteArray(kStart);
    return QByteArray(kShellExec).replace("@START@", start);
}

TEST(LauncherText, TheDesktopEntriesRunTheShellWithTheProgramAsPrintableText) {
    EXPECT_EQ(SendToLauncher(LauncherForm::ThunarSendTo, kProgram).content,
              "[Desktop Entry]\nType=Application\nName=Quillet\nExec=" + ShellExec(false) +
                  " %f\nMimeType=inode/directory;\n");
    EXPECT_EQ(SendToLauncher(LauncherForm::DolphinServiceMenu, kProgram).content,
              "[Desktop Entry]\nType=Service\nX-KDE-ServiceTypes=KonqPopupMenu/Plugin\n"
              "MimeType=inode/directory;\nActions=quillet;\n\n[Desktop Action quillet]\n"
              "Name=Quillet\nExec=" +
                  ShellExec(true) + " %f\n");
    EXPECT_EQ(SendToLauncher(LauncherForm::NemoAction, kProgram).content,
              "[Nemo Action]\nName=Quillet\nExec=" + ShellExec(false) +
                  " %F\nSelection=s\nExtensions=dir;\nQuote=single\n");
}

TEST(LauncherText, TheScriptsReadTheSelectionFromTheirFileManagersURIs) {
    const QByteArray nautilus = SendToLauncher(LauncherForm::NautilusScript, kProgram).content;
    EXPECT_TRUE(nautilus.startsWith("#!/bin/sh\n"));
    EXPECT_TRUE(
        nautilus.contains("\nuri=${NAUTILUS_SCRIPT_SELECTED_URIS%%\"$nl\"*}\n"
                          "[ -n \"$uri\" ] || uri=$NAUTILUS_SCRIPT_CURRENT_URI\n"));
    EXPECT_TRUE(
        nautilus.contains("  if [ -d \"$folder\" ]; then exec '/o p/\"q\" '\\''a'\\'' 5% "
                          "$H \\b `t`\n\xff/Quillex' \"$folder\"; fi ;;\n"));
    EXPECT_EQ(SendToLauncher(LauncherForm::CajaScript, kProgram).content,
              QByteArray(nautilus).replace("NAUTILUS_", "CAJA_"));
}

// A double click starts the program on its own; a folder dropped on the launcher, there.
TEST_F(LauncherTest, TheDesktopLauncherStartsTheProgramOnADroppedFolderOrOnNone) {
    if (QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty()) GTEST_SKIP();
    const QByteArray launcher =
        root.write("Quillet.desktop", DesktopLauncher(programFolder + "/Quillex").content);
    const QByteArray chosen = root.makeFolder("parent/" + kChosenNames[0].folder);
    errors = gioLaunch(launcher, chosen);
    EXPECT_EQ(startedWith(), QList<QByteArray>{chosen}) << errors.constData();
    ::unlink(record.constData());
    errors = gioLaunch(launcher, {});
    EXPECT_TRUE(WaitForFile(record, 15000)) << errors.constData();
    EXPECT_EQ(ArgumentsIn(record), QList<QByteArray>{});
}

}  // namespace
}  // namespace quillet::test
