// Each way of renaming without replacing, forced on its own on the real file system, against
// every kind of entry that can stand under the new name, and through the letter-case detour.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include "platform/linux/linux_file_system.h"
#include "reliability/folder_snapshot.h"
#include "support/temp_folder.h"

namespace quillet::test {
namespace {

struct MethodCase {
    RenameMethod method;
    const char* label;
};

const MethodCase kMethods[] = {{RenameMethod::Cascade, "Cascade"},
                               {RenameMethod::KernelNoReplace, "KernelNoReplace"},
                               {RenameMethod::LinkThenUnlink, "LinkThenUnlink"},
                               {RenameMethod::ClaimThenRename, "ClaimThenRename"},
                               {RenameMethod::CheckThenRename, "CheckThenRename"}};

// A file system that ignores letter case, as far as the detour asks: ASCII letters compared
// without case, and only when both names are really there as one entry or the source alone.
bool InsensitiveProbe(int, const QByteArray& from, const QByteArray& to) {
    return from.toLower() == to.toLower();
}

struct Occupant {
    const char* label;
    void (*make)(const TempFolder& folder, const QByteArray& name);
};

const Occupant kOccupants[] = {
    {"File", [](const TempFolder& f, const QByteArray& n) { f.write(n, "occupant"); }},
    {"EmptyFolder", [](const TempFolder& f, const QByteArray& n) { f.makeFolder(n); }},
    {"FullFolder",
     [](const TempFolder& f, const QByteArray& n) {
         f.makeFolder(n);
         f.write(n + "/inside", "inside");
     }},
    {"LinkToFile",
     [](const TempFolder& f, const QByteArray& n) {
         f.write("other", "other");
         ::symlink("other", f.pathOf(n).constData());
     }},
    {"DanglingLink", [](const TempFolder& f,
                        const QByteArray& n) { ::symlink("nowhere", f.pathOf(n).constData()); }},
    {"LinkToSelf", [](const TempFolder& f,
                      const QByteArray& n) { ::symlink(n.constData(), f.pathOf(n).constData()); }},
    {"SecondHardLink",
     [](const TempFolder& f, const QByteArray& n) {
         f.write("twin", "twin");
         ::link(f.pathOf("twin").constData(), f.pathOf(n).constData());
     }},
    {"Unreadable", [](const TempFolder& f,
                      const QByteArray& n) { ::chmod(f.write(n, "locked").constData(), 0); }},
    {"Fifo",
     [](const TempFolder& f, const QByteArray& n) { ::mkfifo(f.pathOf(n).constData(), 0600); }},
};

struct OccupiedCase {
    MethodCase method;
    Occupant occupant;
    bool caseOnly;  // the new name differs from the old one in letter case alone
};

class OccupiedTargetTest : public ::testing::TestWithParam<OccupiedCase> {};

TEST_P(OccupiedTargetTest, IsNeverReplaced) {
    TempFolder folder;
    folder.write("photo.jpg", "mine");
    const QByteArray target = GetParam().caseOnly ? QByteArray("PHOTO.jpg") : QByteArray("b.jpg");
    GetParam().occupant.make(folder, target);
    const Snapshot before = TakeSnapshot(folder.path());

    // With the case-only change the probe claims both names are one entry, as on a file system
    // that ignores case; the detour must still find the other entry and come back.
    LinuxFileSystem files(GetParam().method.method, GetParam().caseOnly
                                                        ? SameEntryProbe(InsensitiveProbe)
                                                        : SameEntryProbe(SameEntryOnDisk));
    const auto open = files.openFolder(folder.path());
    ASSERT_TRUE(open);
    EXPECT_NE(open->renameNoReplace("photo.jpg", target), 0);
    EXPECT_EQ(DescribeDifference(before, TakeSnapshot(folder.path())).toStdString(), "");
}

std::vector<OccupiedCase> OccupiedCases() {
    std::vector<OccupiedCase> cases;
    for (const MethodCase& method : kMethods)
        for (const Occupant& occupant : kOccupants)
            for (const bool caseOnly : {false, true}) cases.push_back({method, occupant, caseOnly});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EachMethod, OccupiedTargetTest, ::testing::ValuesIn(OccupiedCases()),
                         [](const ::testing::TestParamInfo<OccupiedCase>& info) {
                             return std::string(info.param.method.label) + "_" +
                                    info.param.occupant.label +
                                    (info.param.caseOnly ? "_CaseOnly" : "");
                         });

class MethodTest : public ::testing::TestWithParam<MethodCase> {
  protected:
    std::unique_ptr<OpenFolder> open(SameEntryProbe probe = SameEntryOnDisk) {
        m_files = std::make_unique<LinuxFileSystem>(GetParam().method, std::move(probe));
        return m_files->openFolder(folder.path());
    }

    TempFolder folder;

  private:
    std::unique_ptr<LinuxFileSystem> m_files;
};

TEST_P(MethodTest, ALinkIsMovedItselfAndItsTargetStays) {
    folder.write("target.jpg", "T");
    ::symlink("target.jpg", folder.pathOf("link.jpg").constData());
    if (GetParam().method == RenameMethod::LinkThenUnlink) {
        // A link cannot carry the note that would let a crash between the two steps be put
        // right, so this way refuses it and the cascade goes on to the claim.
        EXPECT_EQ(open()->renameNoReplace("link.jpg", "moved.jpg"), EOPNOTSUPP);
        EXPECT_EQ(TakeSnapshot(folder.path()).at("link.jpg").data, "target.jpg");
        return;
    }
    EXPECT_EQ(open()->renameNoReplace("link.jpg", "moved.jpg"), 0);
    const Snapshot after = TakeSnapshot(folder.path());
    EXPECT_EQ(after.at("moved.jpg").kind, SnapshotEntry::Kind::Link);
    EXPECT_EQ(after.at("moved.jpg").data, "target.jpg");
    EXPECT_EQ(after.at("target.jpg").data, "T");
    EXPECT_EQ(after.size(), 2u);
}

TEST_P(MethodTest, TheCaseDetourStepsOverDetourNamesThatAreTaken) {
    folder.write("photo.jpg", "mine");
    for (int i = 0; i < 5; ++i)
        folder.write(CaseDetourName("photo.jpg", i), "busy " + QByteArray::number(i));
    EXPECT_EQ(open(InsensitiveProbe)->renameNoReplace("photo.jpg", "Photo.JPG"), 0);
    EXPECT_EQ(folder.read("Photo.JPG"), "mine");
    EXPECT_FALSE(folder.exists("photo.jpg"));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(folder.read(CaseDetourName("photo.jpg", i)), "busy " + QByteArray::number(i));
    EXPECT_EQ(folder.names().size(), 6);
}

TEST_P(MethodTest, TheCaseDetourGivesUpWhenNoDetourNameIsFree) {
    folder.write("photo.jpg", "mine");
    for (int i = 0; i < 100; ++i)
        folder.write(CaseDetourName("photo.jpg", i), QByteArray::number(i));
    const Snapshot before = TakeSnapshot(folder.path());
    EXPECT_EQ(open(InsensitiveProbe)->renameNoReplace("photo.jpg", "Photo.JPG"), EEXIST);
    EXPECT_EQ(DescribeDifference(before, TakeSnapshot(folder.path())).toStdString(), "");
}

TEST_P(MethodTest, ANameTooLongToCarryIntoADetourKeepsItsCase) {
    const QByteArray name = QByteArray(240, 'a') + ".jpg";
    folder.write(name, "mine");
    EXPECT_EQ(open(InsensitiveProbe)->renameNoReplace(name, name.toUpper()), ENAMETOOLONG);
    EXPECT_EQ(folder.names(), QList<QByteArray>{name});
}

TEST_P(MethodTest, AMissingFileRenamedOntoItsOwnNameLeavesNoFileBehind) {
    EXPECT_EQ(open()->renameNoReplace("gone.jpg", "gone.jpg"), ENOENT);
    EXPECT_TRUE(folder.names().isEmpty());
}

// Random renames among a few names, some differing in case only, checked one by one against
// the rule: the rename happens exactly when the source is there and the new name is free.
TEST_P(MethodTest, RandomRenamesFollowTheNoReplaceRuleExactly) {
    const QList<QByteArray> names = {"a", "b", "A", "B", "x y", "\xff", "写真"};
    std::map<QByteArray, QByteArray> model;
    for (int i = 0; i < 4; ++i) {
        folder.write(names[i], "content " + QByteArray::number(i));
        model[names[i]] = "content " + QByteArray::number(i);
    }
    const auto opened = open();
    std::mt19937 random(7);
    for (int step = 0; step < 300; ++step) {
        const QByteArray from = names[static_cast<int>(random() % names.size())];
        const QByteArray to = names[static_cast<int>(random() % names.size())];
        const bool expected = model.count(from) && !model.count(to);
        const int result = opened->renameNoReplace(from, to);
        ASSERT_EQ(result == 0, expected) << "step " << step << ": " << Printable(from).toStdString()
                                         << " -> " << Printable(to).toStdString();
        if (expected) {
            model[to] = model[from];
            model.erase(from);
        }
    }
    const Snapshot after = TakeSnapshot(folder.path());
    ASSERT_EQ(after.size(), model.size());
    for (const auto& [name, content] : model) EXPECT_EQ(after.at(name).data, content);
}

INSTANTIATE_TEST_SUITE_P(EachMethod, MethodTest, ::testing::ValuesIn(kMethods),
                         [](const ::testing::TestParamInfo<MethodCase>& info) {
                             return std::string(info.param.label);
                         });

}  // namespace
}  // namespace quillet::test
