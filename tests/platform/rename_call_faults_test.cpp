// Every system call of every way of renaming, failing or doing its work and reporting a failure
// anyway, once or every time, on the plain path and on the letter-case detour: the file ends up
// under its old or its new name, once, with nothing else left beside it, and the answer tells
// which.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/linux/linux_open_folder.h"
#include "platform/linux/no_replace_rename.h"
#include "support/faulty_calls.h"
#include "support/temp_folder.h"

namespace quillet::test {
namespace {

struct MethodName {
    RenameMethod method;
    const char* label;
};

const MethodName kMethods[] = {{RenameMethod::KernelNoReplace, "Kernel"},
                               {RenameMethod::LinkThenUnlink, "Link"},
                               {RenameMethod::ClaimThenRename, "Claim"},
                               {RenameMethod::CheckThenRename, "Check"}};

// Which calls of the chosen kind the fault reaches.
enum class Reach { First, Every, FirstFailsThenDoneButReported };

struct CallFaultCase {
    MethodName method;
    Call call;
    CallFault::Kind kind;
    Reach reach;
    bool caseOnly;
};

std::string CaseName(const ::testing::TestParamInfo<CallFaultCase>& info) {
    const CallFaultCase& c = info.param;
    std::string name = std::string(c.method.label) + "_" + CallName(c.call);
    name += c.reach == Reach::FirstFailsThenDoneButReported ? "_FailsThenDoneButReported"
            : c.kind == CallFault::Kind::Fail               ? "_Fails"
                                                            : "_DoneButReported";
    name += c.reach == Reach::First ? "Once" : c.reach == Reach::Every ? "Always" : "";
    if (c.caseOnly) name += "_CaseOnly";
    return name;
}

bool UsesCall(RenameMethod method, Call call) {
    switch (method) {
        case RenameMethod::KernelNoReplace:
            return call == Call::RenameNoReplace;
        case RenameMethod::LinkThenUnlink:
            return call == Call::Link || call == Call::Unlink;
        case RenameMethod::ClaimThenRename:
            return call == Call::CreateExclusive || call == Call::Rename || call == Call::Unlink;
        default:
            return call == Call::Rename;
    }
}

class RenameCallFaultTest : public ::testing::TestWithParam<CallFaultCase> {
  protected:
    CallFault decide(Call call) {
        const CallFaultCase& c = GetParam();
        if (call != c.call) return {};
        ++m_seen;
        switch (c.reach) {
            case Reach::First:
                return m_seen == 1 ? CallFault{c.kind, EIO} : CallFault{};
            case Reach::Every:
                return {c.kind, EIO};
            case Reach::FirstFailsThenDoneButReported:
                return m_seen == 1 ? CallFault{CallFault::Kind::Fail, EIO}
                                   : CallFault{CallFault::Kind::DoneButReported, EIO};
        }
        return {};
    }

    TempFolder folder;
    CallCounts counts;

  private:
    int m_seen = 0;
};

bool AlwaysSameEntry(int, const QByteArray&, const QByteArray&) {
    return true;
}

TEST_P(RenameCallFaultTest, LeavesTheFileOnceUnderItsOldOrNewName) {
    const CallFaultCase& c = GetParam();
    folder.write("photo.jpg", "the photo");
    const QByteArray to = c.caseOnly ? QByteArray("PHOTO.JPG") : QByteArray("renamed.jpg");
    const SameEntryProbe probe = c.caseOnly ? SameEntryProbe(AlwaysSameEntry) : SameEntryOnDisk;
    const RenameCalls calls = FaultyRenameCalls(
        [this](Call call, const char*, const char*) { return decide(call); }, counts);
    const int fd = ::open(folder.path().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    LinuxOpenFolder faulty(fd, c.method.method, probe, calls);
    const int result = faulty.renameNoReplace("photo.jpg", to);
    const QList<QByteArray> afterRename = folder.names();

    // The next listing, on a file system that works again, puts right what could not be.
    LinuxOpenFolder healthy(::dup(fd), c.method.method, probe);
    ASSERT_TRUE(healthy.listFiles(QStringLiteral("*.*")));
    const QList<QByteArray> names = folder.names();

    // Neither name could be removed: the file kept both, and its note lets the listing finish
    // the rename where the file system keeps notes.
    const bool linkKeptTwice = c.method.method == RenameMethod::LinkThenUnlink &&
                               c.call == Call::Unlink && c.kind == CallFault::Kind::Fail &&
                               c.reach == Reach::Every;
    if (linkKeptTwice) {
        EXPECT_NE(result, 0);
        EXPECT_EQ(afterRename.size(), 2) << afterRename.join(' ').toStdString();
        ASSERT_EQ(names.size(), 1) << names.join(' ').toStdString();
        EXPECT_TRUE(names[0] == to || names[0] == "photo.jpg") << names[0].constData();
        EXPECT_EQ(folder.read(names[0]), "the photo");
        return;
    }
    ASSERT_EQ(names.size(), 1) << "after the rename: " << afterRename.join(' ').toStdString()
                               << "; after a listing: " << names.join(' ').toStdString();
    EXPECT_EQ(folder.read(names[0]), "the photo");
    EXPECT_EQ(names[0], result == 0 ? to : QByteArray("photo.jpg")) << "answered " << result;
    // What a call did it did: a reported failure of work that was done is no failure.
    if (c.kind == CallFault::Kind::DoneButReported && c.call != Call::CreateExclusive &&
        UsesCall(c.method.method, c.call)) {
        EXPECT_EQ(result, 0);
    }
    // Whatever stays for a listing to put right is in sight and says what it is.
    for (const QByteArray& name : afterRename) {
        EXPECT_FALSE(name.startsWith('.')) << name.constData();
    }
}

std::vector<CallFaultCase> CallFaultCases() {
    std::vector<CallFaultCase> cases;
    const Call calls[] = {Call::RenameNoReplace, Call::Link, Call::Unlink, Call::Rename,
                          Call::CreateExclusive};
    for (const MethodName& method : kMethods) {
        for (const Call call : calls) {
            if (!UsesCall(method.method, call)) continue;
            for (const bool caseOnly : {false, true}) {
                for (const auto kind : {CallFault::Kind::Fail, CallFault::Kind::DoneButReported}) {
                    for (const Reach reach : {Reach::First, Reach::Every})
                        cases.push_back({method, call, kind, reach, caseOnly});
                }
                cases.push_back({method, call, CallFault::Kind::Fail,
                                 Reach::FirstFailsThenDoneButReported, caseOnly});
            }
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EachCall, RenameCallFaultTest, ::testing::ValuesIn(CallFaultCases()),
                         CaseName);

}  // namespace
}  // namespace quillet::test
