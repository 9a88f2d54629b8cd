#include "shell/launcher_forms.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include "support/temp_folder.h"

namespace quillet::test {
namespace {

// Blanks, both quotes, a percent sign, a dollar and a backslash in the program's folder; the
// chosen folder has all of those and a byte that is not UTF-8. GIO looks for the program before
// it turns "%%" back into "%", so it cannot start a program whose path holds a percent sign;
// that case is left to the forms that GIO does not read.
const QByteArray kProgramFolder = "prog dir \"q\" 'a' 100% $HOME \\back";
const QByteArray kGioProgramFolder = "prog dir \"q\" 'a' $HOME \\back";
const QByteArray kChosenFolder = "chosen \"x\" 'y' 50%f $z \\w \xff end";

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

QByteArray Recorder(const QByteArray& record) {
    return "#!/bin/sh\nprintf '%s\\0' \"$#\" \"$@\" > '" + record + ".part' && mv '" + record +
           ".part' '" + record + "'\n";
}

// Runs `gio launch` on a desktop entry with a raw path as its one file, through the shell,
// since QProcess passes only text.
QByteArray GioLaunch(const QByteArray& entry, const QByteArray& path) {
    ::setenv("QUILLET_TEST_PATH", path.constData(), 1);
    QProcess gio;
    gio.start(
        QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), QStringLiteral("exec gio launch \"$0\" \"$QUILLET_TEST_PATH\""),
         QFile::decodeName(entry)});
    gio.waitForFinished(20000);
    ::unsetenv("QUILLET_TEST_PATH");
    return gio.readAllStandardError();
}

// A stand-in for the program that writes down the arguments it was started with.
class LauncherRun : public ::testing::TestWithParam<Form> {
  protected:
    void SetUp() override {
        const bool readByGio = GetParam().form == LauncherForm::ThunarSendTo ||
                               GetParam().form == LauncherForm::DolphinServiceMenu;
        const QByteArray folderName = readByGio ? kGioProgramFolder : kProgramFolder;
        programFolder = root.makeFolder(folderName);
        program = programFolder + "/Quillex";
        chosen = root.makeFolder(kChosenFolder);
        record = root.pathOf("record");
        root.write(folderName + "/Quillex", Recorder(record));
        ::chmod(program.constData(), 0755);
    }

    // The arguments the program got, once it has written them.
    QList<QByteArray> recorded() {
        QElapsedTimer timer;
        timer.start();
        while (!root.exists("record") && timer.elapsed() < 15000) QThread::msleep(20);
        QList<QByteArray> arguments = root.read("record").split('\0');
        if (!arguments.isEmpty()) arguments.removeLast();
        return arguments;
    }

    QByteArray launchDesktopEntry(const QByteArray& entry) {
        return GioLaunch(root.write("launcher.desktop", entry), chosen);
    }

    TempFolder root;
    QByteArray programFolder, program, chosen, record;
};

// GIO's own reading of the Exec key, for the desktop entry forms; the file manager's way of
// filling in the selection, for the others.
TEST_P(LauncherRun, StartsTheProgramWithTheChosenFolderAsItsOneArgument) {
    const LauncherFile launcher = SendToLauncher(GetParam().form, program);
    QByteArray errors;
    switch (GetParam().form) {
        case LauncherForm::ThunarSendTo:
        case LauncherForm::DolphinServiceMenu: {
            if (QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty()) GTEST_SKIP();
            // The service menu's action is started by the same rules as an application entry.
            const QByteArray exec = launcher.content.mid(launcher.content.indexOf("Exec="));
            errors = launchDesktopEntry("[Desktop Entry]\nType=Application\nName=Quillet\n" +
                                        exec.left(exec.indexOf('\n') + 1));
            break;
        }
        case LauncherForm::NautilusScript:
        case LauncherForm::CajaScript: {
            const QByteArray script = root.write("script", launcher.content);
            ::chmod(script.constData(), 0755);
            QProcess run;
            // Selected in a listing of the chosen folder's parent: the name as argument.
            run.setWorkingDirectory(QString::fromUtf8(root.path()));
            const QByteArray variable = GetParam().form == LauncherForm::NautilusScript
                                            ? "NAUTILUS_SCRIPT_SELECTED_FILE_PATHS"
                                            : "CAJA_SCRIPT_SELECTED_FILE_PATHS";
            ::setenv(variable.constData(), (chosen + '\n').constData(), 1);
            // QProcess cannot pass bytes that are not UTF-8; the shell can.
            run.start(
                QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"), QStringLiteral("exec \"$0\" \"$(printf '%b' \"$1\")\""),
                 QFile::decodeName(script),
                 QString::fromLatin1(QByteArray(kChosenFolder).replace("\xff", "\\0377"))});
            run.waitForFinished(20000);
            errors = run.readAllStandardError();
            ASSERT_EQ(recorded(), (QList<QByteArray>{"1", chosen})) << errors.constData();
            ::unlink(record.constData());
            // Without arguments, as from a remote listing: the full path in the variable.
            run.start(QFile::decodeName(script), {});
            run.waitForFinished(20000);
            ::unsetenv(variable.constData());
            break;
        }
        case LauncherForm::NemoAction: {
            // Nemo reads the key file value, puts each path shell-quoted in place of %F, turns
            // "%%" into "%" and splits the line as the shell does.
            QByteArray exec = launcher.content.mid(launcher.content.indexOf("Exec=") + 5);
            exec = exec.left(exec.indexOf('\n')).replace("\\\\", "\\");
            QByteArray quotedChosen = "'" + QByteArray(chosen).replace("'", "'\\''") + "'";
            exec.replace("%F", "\x01").replace("%%", "%").replace("\x01", quotedChosen);
            const QByteArray script = root.write("nemo-line", exec + '\n');
            QProcess run;
            run.start(QStringLiteral("/bin/sh"), {QFile::decodeName(script)});
            run.waitForFinished(20000);
            errors = run.readAllStandardError();
            break;
        }
    }
    EXPECT_EQ(recorded(), (QList<QByteArray>{"1", chosen})) << errors.constData();
}

TEST(DesktopLauncher, TheDesktopLauncherStartsTheProgramOnADroppedFolder) {
    if (QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty()) GTEST_SKIP();
    TempFolder root;
    const QByteArray folder = root.makeFolder(kGioProgramFolder);
    const QByteArray chosen = root.makeFolder(kChosenFolder);
    root.write(kGioProgramFolder + "/Quillex", Recorder(root.pathOf("record")));
    ::chmod((folder + "/Quillex").constData(), 0755);
    const QByteArray file =
        root.write("Quillet.desktop", DesktopLauncher(folder + "/Quillex").content);
    const QByteArray errors = GioLaunch(file, chosen);
    QElapsedTimer timer;
    timer.start();
    while (!root.exists("record") && timer.elapsed() < 15000) QThread::msleep(20);
    EXPECT_EQ(root.read("record"), "1" + QByteArray(1, '\0') + chosen + QByteArray(1, '\0'))
        << errors.constData();
}

INSTANTIATE_TEST_SUITE_P(EveryFileManager, LauncherRun, ::testing::ValuesIn(kForms),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quillet::test
