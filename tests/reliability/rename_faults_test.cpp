// Failures put into the platform layer while the execute button runs: the pass must go on,
// lose nothing, and end (standard mode) or list the folder again (extended mode).

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/linux/linux_file_system.h"
#include "platform/linux/qt_settings_store.h"
#include "reliability/folder_snapshot.h"
#include "support/faulty_file_system.h"
#include "support/faulty_settings_store.h"
#include "support/window_harness.h"

namespace quillet::test {
namespace {

enum class Mode { Standard, Extended };

const char* ModeName(Mode mode) {
    return mode == Mode::Standard ? "Standard" : "Extended";
}

class FaultTest : public ::testing::Test {
  protected:
    FaultTest() : faulty(real), settings(realSettings), harness(&faulty, &settings) {}

    // Files a_1.jpg … a_<count>.jpg in a folder of their own, beside a sibling folder and a
    // file, all of which must come through untouched.
    void start(int count, Mode mode) {
        root.makeFolder("sibling");
        root.write("sibling/a_1.jpg", "sibling");
        root.write("n_1.jpg", "beside");
        root.makeFolder("work");
        for (int i = 1; i <= count; ++i) {
            const QByteArray name = "a_" + QByteArray::number(i) + ".jpg";
            root.write("work/" + name, "content of " + name);
        }
        before = TakeSnapshot(root.path());
        ASSERT_TRUE(harness.load(root.pathOf("work")));
        if (mode == Mode::Extended) harness.form().Command3.click();
        harness.form().Text1.setText(QStringLiteral("n_"));
        ASSERT_EQ(harness.form().LV.rowCount(), count);
    }

    // Runs the pass; true when the program ended.
    bool run() { return !harness.execute(); }

    // Every file of the folder once, under its old or its new name, and nothing else changed.
    void expectNothingLost() {
        const Snapshot after = TakeSnapshot(root.path());
        EXPECT_EQ(
            DescribeDifference(WithoutEntriesOf(before, "work"), WithoutEntriesOf(after, "work"))
                .toStdString(),
            "");
        const Snapshot was = EntriesOf(before, "work");
        const Snapshot now = EntriesOf(after, "work");
        EXPECT_EQ(now.size(), was.size());
        for (const auto& [name, entry] : was) {
            int found = 0;
            for (const auto& [newName, newEntry] : now) {
                if (newEntry == entry) ++found;
            }
            EXPECT_EQ(found, 1) << Printable(name).toStdString();
        }
    }

    QByteArray contentOf(const QByteArray& name) { return root.read("work/" + name); }

    TempFolder root;
    LinuxFileSystem real;
    FaultyFileSystem faulty;
    QtSettingsStore realSettings;
    FaultySettingsStore settings;
    WindowHarness harness;
    Snapshot before;
};

struct RenameErrorCase {
    int error;
    Mode mode;
};

class RenameErrorTest : public FaultTest, public ::testing::WithParamInterface<RenameErrorCase> {};

TEST_P(RenameErrorTest, TheFailingFileStaysAndEveryOtherOneIsRenamed) {
    start(4, GetParam().mode);
    faulty.renameFault = [](const QByteArray& from, const QByteArray&) {
        return from == "a_2.jpg" ? GetParam().error : 0;
    };
    const bool ended = run();

    EXPECT_EQ(ended, GetParam().mode == Mode::Standard);
    EXPECT_EQ(faulty.counts.renames, 4);
    EXPECT_EQ(faulty.counts.injected, 1);
    expectNothingLost();
    EXPECT_EQ(contentOf("a_2.jpg"), "content of a_2.jpg");
    EXPECT_EQ(contentOf("n_1.jpg"), "content of a_1.jpg");
    EXPECT_EQ(contentOf("n_3.jpg"), "content of a_3.jpg");
    EXPECT_EQ(contentOf("n_4.jpg"), "content of a_4.jpg");
    EXPECT_EQ(harness.handshakeValue(), QStringLiteral("0"));
    if (GetParam().mode == Mode::Extended) {
        QStringList listed = harness.fileNames();
        listed.sort();
        EXPECT_EQ(listed, (QStringList{QStringLiteral("a_2.jpg"), QStringLiteral("n_1.jpg"),
                                       QStringLiteral("n_3.jpg"), QStringLiteral("n_4.jpg")}));
    }
}

TEST_P(RenameErrorTest, EveryRenameFailingChangesNothing) {
    start(3, GetParam().mode);
    faulty.renameFault = [](const QByteArray&, const QByteArray&) { return GetParam().error; };
    EXPECT_EQ(run(), GetParam().mode == Mode::Standard);
    EXPECT_EQ(faulty.counts.injected, 3);
    EXPECT_EQ(DescribeDifference(before, TakeSnapshot(root.path())).toStdString(), "");
    EXPECT_EQ(harness.handshakeValue(), QStringLiteral("0"));
}

std::vector<RenameErrorCase> RenameErrorCases() {
    std::vector<RenameErrorCase> cases;
    for (const int error : {EACCES, EBUSY, ENOENT, EXDEV, ENAMETOOLONG, EINVAL, EPERM, EROFS, EIO})
        for (const Mode mode : {Mode::Standard, Mode::Extended}) cases.push_back({error, mode});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Errors, RenameErrorTest, ::testing::ValuesIn(RenameErrorCases()),
                         [](const ::testing::TestParamInfo<RenameErrorCase>& info) {
                             return std::string(strerrorname_np(info.param.error)) +
                                    ModeName(info.param.mode);
                         });

class ModeFaultTest : public FaultTest, public ::testing::WithParamInterface<Mode> {};

TEST_P(ModeFaultTest, ATargetCreatedByAnotherProcessJustBeforeItsRenameIsKept) {
    start(3, GetParam());
    faulty.renameFault = [this](const QByteArray& from, const QByteArray& to) {
        if (from == "a_2.jpg") root.write("work/" + to, "written by someone else");
        return 0;
    };
    EXPECT_EQ(run(), GetParam() == Mode::Standard);
    EXPECT_EQ(contentOf("n_2.jpg"), "written by someone else");
    EXPECT_EQ(contentOf("a_2.jpg"), "content of a_2.jpg");
    EXPECT_EQ(contentOf("n_1.jpg"), "content of a_1.jpg");
    EXPECT_EQ(contentOf("n_3.jpg"), "content of a_3.jpg");
    EXPECT_EQ(root.names().size(), 3);
}

TEST_P(ModeFaultTest, AFileRenamedAwayByAnotherProcessIsSkipped) {
    start(3, GetParam());
    faulty.renameFault = [this](const QByteArray& from, const QByteArray&) {
        if (from == "a_2.jpg")
            ::rename(root.pathOf("work/a_2.jpg").constData(),
                     root.pathOf("work/moved.jpg").constData());
        return 0;
    };
    EXPECT_EQ(run(), GetParam() == Mode::Standard);
    EXPECT_EQ(contentOf("moved.jpg"), "content of a_2.jpg");
    EXPECT_FALSE(root.exists("work/n_2.jpg"));
    EXPECT_EQ(contentOf("n_3.jpg"), "content of a_3.jpg");
}

TEST_P(ModeFaultTest, TheFolderRemovedHalfWayStopsTheRestWithoutHarm) {
    start(4, GetParam());
    // Another process empties the folder into a place of its own and removes it.
    root.makeFolder("rescued");
    faulty.renameFault = [this](const QByteArray& from, const QByteArray&) {
        if (from != "a_3.jpg") return 0;
        for (const QByteArray& name : NamesIn(root.pathOf("work")))
            ::rename(root.pathOf("work/" + name).constData(),
                     root.pathOf("rescued/" + name).constData());
        EXPECT_EQ(::rmdir(root.pathOf("work").constData()), 0) << std::strerror(errno);
        return 0;
    };
    EXPECT_EQ(run(), GetParam() == Mode::Standard);
    EXPECT_FALSE(root.exists("work"));
    EXPECT_EQ(NamesIn(root.pathOf("rescued")),
              (QList<QByteArray>{"a_3.jpg", "a_4.jpg", "n_1.jpg", "n_2.jpg"}));
    EXPECT_EQ(root.read("rescued/n_1.jpg"), "content of a_1.jpg");
    EXPECT_EQ(root.read("rescued/a_4.jpg"), "content of a_4.jpg");
    EXPECT_EQ(harness.handshakeValue(), QStringLiteral("0"));
    if (GetParam() == Mode::Extended) {
        EXPECT_EQ(harness.form().LV.rowCount(), 0);
    }
}

TEST_P(ModeFaultTest, TheFolderMovedHalfWayKeepsTheRenamesInsideIt) {
    start(3, GetParam());
    faulty.renameFault = [this](const QByteArray& from, const QByteArray&) {
        if (from == "a_2.jpg")
            ::rename(root.pathOf("work").constData(), root.pathOf("elsewhere").constData());
        return 0;
    };
    EXPECT_EQ(run(), GetParam() == Mode::Standard);
    EXPECT_EQ(NamesIn(root.pathOf("elsewhere")),
              (QList<QByteArray>{"n_1.jpg", "n_2.jpg", "n_3.jpg"}));
    EXPECT_EQ(root.read("elsewhere/n_2.jpg"), "content of a_2.jpg");
    EXPECT_FALSE(root.exists("n_2.jpg"));
}

TEST_P(ModeFaultTest, AFolderThatCannotBeOpenedListsNothingAndChangesNothing) {
    root.makeFolder("work");
    root.write("work/a_1.jpg", "one");
    before = TakeSnapshot(root.path());
    faulty.refuseOpen = true;
    harness.load(root.pathOf("work"));
    if (GetParam() == Mode::Extended) harness.form().Command3.click();
    EXPECT_EQ(harness.form().LV.rowCount(), 0);
    EXPECT_EQ(run(), GetParam() == Mode::Standard);
    EXPECT_EQ(DescribeDifference(before, TakeSnapshot(root.path())).toStdString(), "");
    EXPECT_EQ(harness.handshakeValue(), QStringLiteral("0"));
}

// Another card mounted at the same path after the listing: the files renamed are the listed
// ones, in the folder they were listed from, and the folder now at the path is left alone.
TEST_P(ModeFaultTest, TheListedFolderIsRenamedEvenWhenItsPathNowNamesAnother) {
    start(3, GetParam());
    root.makeFolder("other card");
    root.write("other card/a_1.jpg", "other 1");
    root.write("other card/a_2.jpg", "other 2");
    ASSERT_EQ(::rename(root.pathOf("work").constData(), root.pathOf("listed").constData()), 0);
    ASSERT_EQ(::rename(root.pathOf("other card").constData(), root.pathOf("work").constData()), 0);
    EXPECT_EQ(run(), GetParam() == Mode::Standard);
    EXPECT_EQ(NamesIn(root.pathOf("work")), (QList<QByteArray>{"a_1.jpg", "a_2.jpg"}));
    EXPECT_EQ(root.read("work/a_1.jpg"), "other 1");
    EXPECT_EQ(root.read("work/a_2.jpg"), "other 2");
    EXPECT_EQ(NamesIn(root.pathOf("listed")), (QList<QByteArray>{"n_1.jpg", "n_2.jpg", "n_3.jpg"}));
    EXPECT_EQ(root.read("listed/n_2.jpg"), "content of a_2.jpg");
}

TEST_P(ModeFaultTest, ASettingsStoreThatFailsStillLetsThePassFinish) {
    start(2, GetParam());
    settings.fail = true;
    EXPECT_EQ(run(), GetParam() == Mode::Standard);
    EXPECT_EQ(settings.injected, 1);
    EXPECT_EQ(contentOf("n_1.jpg"), "content of a_1.jpg");
    EXPECT_EQ(contentOf("n_2.jpg"), "content of a_2.jpg");
}

TEST_P(ModeFaultTest, AConfigurationFolderThatIsAFileIsLeftAsItIs) {
    start(2, GetParam());
    // Where the settings folder should be stands a plain file: nothing can be written there.
    const QByteArray blocker = root.write("config-is-a-file", "not a folder");
    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", blocker + "/deeper");
    const bool ended = run();
    qputenv("XDG_CONFIG_HOME", previous);
    EXPECT_EQ(ended, GetParam() == Mode::Standard);
    EXPECT_EQ(root.read("config-is-a-file"), "not a folder");
    EXPECT_EQ(contentOf("n_2.jpg"), "content of a_2.jpg");
}

TEST_P(ModeFaultTest, ASettingsFileThatIsAFolderIsLeftAsItIs) {
    start(2, GetParam());
    harness.config.makeFolder("Pixalo.conf");
    harness.config.write("Pixalo.conf/keep", "kept");
    EXPECT_EQ(run(), GetParam() == Mode::Standard);
    EXPECT_EQ(harness.config.read("Pixalo.conf/keep"), "kept");
    EXPECT_EQ(contentOf("n_1.jpg"), "content of a_1.jpg");
}

TEST_P(ModeFaultTest, AFileThatVanishesBeforeItsAttributeChangeIsSkipped) {
    start(3, GetParam());
    harness.form().Check6.setValue(1);
    harness.form().Check7[0].setValue(1);
    faulty.attributeFault = [this](const QByteArray& name) {
        if (name == "a_2.jpg") ::unlink(root.pathOf("work/a_2.jpg").constData());
        return 0;
    };
    EXPECT_EQ(run(), GetParam() == Mode::Standard);
    EXPECT_EQ(faulty.counts.attributeWrites, 3);
    EXPECT_EQ(NamesIn(root.pathOf("work")), (QList<QByteArray>{"a_1.jpg", "a_3.jpg"}));
    struct stat st {};
    ASSERT_EQ(::stat(root.pathOf("work/a_3.jpg").constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0222, 0u);  // the file after it was still made read-only
    EXPECT_EQ(harness.handshakeValue(), QStringLiteral("0"));
}

TEST_P(ModeFaultTest, AttributeWritesThatFailLeaveEveryFileAsItWas) {
    start(3, GetParam());
    harness.form().Check6.setValue(1);
    harness.form().Check7[0].setValue(1);
    faulty.attributeFault = [](const QByteArray&) { return EROFS; };
    EXPECT_EQ(run(), GetParam() == Mode::Standard);
    EXPECT_EQ(faulty.counts.injected, 3);
    EXPECT_EQ(DescribeDifference(before, TakeSnapshot(root.path())).toStdString(), "");
    struct stat st {};
    ASSERT_EQ(::stat(root.pathOf("work/a_1.jpg").constData(), &st), 0);
    EXPECT_NE(st.st_mode & 0200, 0u);
}

INSTANTIATE_TEST_SUITE_P(Modes, ModeFaultTest, ::testing::Values(Mode::Standard, Mode::Extended),
                         [](const ::testing::TestParamInfo<Mode>& info) {
                             return std::string(ModeName(info.param));
                         });

}  // namespace
}  // namespace quillet::test
