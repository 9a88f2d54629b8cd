// The rename pass killed (SIGKILL) at random moments, with each way of renaming forced in turn
// and on the letter-case detour with a lookup that ignores case: after the next listing of the
// folder, every original file is there exactly once, under its old or its new name, and no
// other name is.
//
// QUILLET_KILL_FILES and QUILLET_KILL_RUNS choose the size of the pass and the kills per way,
// QUILLET_KILL_FOLDER where the folders are made (by default in memory, /dev/shm, where there
// is one: making and removing the files is most of the time); the README gives the longer run.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <chrono>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <thread>

#include "platform/linux/linux_file_system.h"
#include "support/child_process.h"
#include "support/temp_folder.h"

namespace quillet::test {
namespace {

int EnvironmentNumber(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

struct KillCase {
    RenameMethod method;
    bool caseOnly;
    const char* label;
};

bool IgnoresCase(int, const QByteArray& from, const QByteArray& to) {
    return from.toLower() == to.toLower();
}

class KillTest : public ::testing::TestWithParam<KillCase> {
  protected:
    QByteArray oldName(int i) const { return "p" + QByteArray::number(i) + ".jpg"; }
    QByteArray newName(int i) const {
        return GetParam().caseOnly ? "P" + QByteArray::number(i) + ".JPG"
                                   : "q" + QByteArray::number(i) + ".jpg";
    }
    QByteArray content(int i) const { return "photo " + QByteArray::number(i); }

    std::unique_ptr<LinuxFileSystem> files() const {
        return std::make_unique<LinuxFileSystem>(
            GetParam().method,
            GetParam().caseOnly ? SameEntryProbe(IgnoresCase) : SameEntryProbe(SameEntryOnDisk));
    }

    // The pass in a child of its own: every file renamed in list order, as the execute button
    // does. Returns the child once it has begun renaming.
    pid_t startPass(const QByteArray& folder) const {
        return StartChildOnceReady([&](const std::function<void()>& ready) {
            const auto fs = files();
            const auto open = fs->openFolder(folder);
            const auto entries = open ? open->listFiles(QStringLiteral("*.*")) : std::nullopt;
            if (!entries) return;
            std::vector<std::pair<QByteArray, QByteArray>> renames;
            for (const DirEntry& entry : *entries) {
                const int i = entry.rawName.mid(1, entry.rawName.indexOf('.') - 1).toInt();
                renames.emplace_back(entry.rawName, newName(i));
            }
            ready();
            for (const auto& [from, to] : renames) open->renameNoReplace(from, to);
        });
    }

    // Empty when every original file is there once, under its old or new name, and nothing
    // else is; otherwise what is wrong.
    std::string check(const TempFolder& folder, int count) const {
        std::map<QByteArray, int> expected;
        for (int i = 0; i < count; ++i) expected[content(i)] = i;
        std::string problems;
        std::map<int, int> seen;
        for (const QByteArray& name : folder.names()) {
            const QByteArray data = folder.read(name);
            const auto found = expected.find(data);
            if (found == expected.end()) {
                problems += "extra name " + name.toStdString() + "; ";
                continue;
            }
            const int i = found->second;
            if (name != oldName(i) && name != newName(i))
                problems += "photo " + std::to_string(i) + " under " + name.toStdString() + "; ";
            ++seen[i];
        }
        for (int i = 0; i < count; ++i) {
            if (seen[i] != 1)
                problems +=
                    "photo " + std::to_string(i) + " found " + std::to_string(seen[i]) + " times; ";
        }
        return problems;
    }
};

TEST_P(KillTest, AKilledPassLosesStrandsAndAddsNothing) {
    const int count = EnvironmentNumber("QUILLET_KILL_FILES", 2000);
    const int runs = EnvironmentNumber("QUILLET_KILL_RUNS", 3);
    std::mt19937 random(static_cast<unsigned>(std::hash<std::string>()(GetParam().label)));
    QString place = qEnvironmentVariable("QUILLET_KILL_FOLDER");
    if (place.isEmpty())
        place = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                          : QDir::tempPath();
    qint64 passUs = 0;
    int killedMidPass = 0;
    int leftovers = 0;  // runs after which something was left for the listing to put right
    // The first run is not cut short: it says how long a whole pass takes.
    for (int run = 0; run <= runs; ++run) {
        TempFolder folder(place);
        for (int i = 0; i < count; ++i) folder.write(oldName(i), content(i));
        QElapsedTimer timer;
        const pid_t child = startPass(folder.path());
        ASSERT_GT(child, 0);
        timer.start();
        if (run > 0) {
            const auto wait = std::uniform_int_distribution<qint64>(0, passUs * 9 / 10)(random);
            std::this_thread::sleep_for(std::chrono::microseconds(wait));
            ::kill(child, SIGKILL);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        if (run == 0) {
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            passUs = std::max<qint64>(timer.nsecsElapsed() / 1000, 1);
        } else if (WIFSIGNALED(status)) {
            ++killedMidPass;
        }
        if (!check(folder, count).empty()) ++leftovers;
        // The next start-up lists the folder.
        ASSERT_TRUE(files()->listFiles(folder.path(), QStringLiteral("*.*")));
        const std::string problems = check(folder, count);
        ASSERT_EQ(problems.substr(0, 2000), "") << "run " << run;
    }
    std::printf(
        "[   kill   ] %s in %s: %d files, pass %lld us, %d runs, %d killed mid-pass, %d "
        "left something the next listing put right; nothing lost, nothing extra\n",
        GetParam().label, place.toUtf8().constData(), count, static_cast<long long>(passUs), runs,
        killedMidPass, leftovers);
}

INSTANTIATE_TEST_SUITE_P(
    EachWay, KillTest,
    ::testing::Values(KillCase{RenameMethod::Cascade, false, "Cascade"},
                      KillCase{RenameMethod::LinkThenUnlink, false, "LinkThenUnlink"},
                      KillCase{RenameMethod::ClaimThenRename, false, "ClaimThenRename"},
                      KillCase{RenameMethod::CheckThenRename, false, "CheckThenRename"},
                      KillCase{RenameMethod::KernelNoReplace, true, "CaseOnlyKernel"},
                      KillCase{RenameMethod::LinkThenUnlink, true, "CaseOnlyLink"},
                      KillCase{RenameMethod::ClaimThenRename, true, "CaseOnlyClaim"},
                      KillCase{RenameMethod::CheckThenRename, true, "CaseOnlyCheck"}),
    [](const ::testing::TestParamInfo<KillCase>& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace quillet::test
