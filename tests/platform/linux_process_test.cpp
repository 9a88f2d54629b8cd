#include "platform/linux/linux_process.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace quillet {
namespace {

LinuxProcess ProcessWith(std::vector<QByteArray>& arguments) {
    static std::vector<char*> argv;
    argv.clear();
    for (QByteArray& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    return LinuxProcess(static_cast<int>(arguments.size()), argv.data());
}

struct CommandLineCase {
    std::vector<QByteArray> arguments;
    QByteArray expected;
    const char* label;
};

class CommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, JoinsTheArgumentsAfterTheProgramByBlanks) {
    std::vector<QByteArray> arguments = GetParam().arguments;
    EXPECT_EQ(ProcessWith(arguments).commandLine(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineTest,
    ::testing::Values(
        CommandLineCase{{"/opt/q/Quillex"}, QByteArray(), "NoArguments"},
        CommandLineCase{{"Quillex", "/home/u/My Photos"}, "/home/u/My Photos", "OneQuoted"},
        CommandLineCase{{"Quillex", "/home/u/My", "Photos"}, "/home/u/My Photos", "Split"},
        CommandLineCase{{"Quillex", "/m/\xe9t\xe9", ""}, "/m/\xe9t\xe9 ", "RawBytesAndEmpty"}),
    [](const ::testing::TestParamInfo<CommandLineCase>& info) { return info.param.label; });

TEST(LinuxProcess, ProgramFolderHoldsTheRunningProgram) {
    std::vector<QByteArray> arguments{"whatever"};
    const QByteArray folder = ProcessWith(arguments).programFolder();
    ASSERT_TRUE(folder.startsWith('/'));
    EXPECT_FALSE(folder.endsWith('/'));
    struct stat st;
    const QByteArray program = folder + '/' + program_invocation_short_name;
    EXPECT_EQ(::stat(program.constData(), &st), 0) << program.constData();
}

TEST(LinuxProcess, EndNowFlushesOutputAndEndsWithSuccess) {
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(pipeEnds[1], STDOUT_FILENO);
        std::setvbuf(stdout, nullptr, _IOFBF, 4096);
        std::fputs("pending", stdout);
        std::vector<QByteArray> arguments{"Quillex"};
        ProcessWith(arguments).endNow();
    }
    ::close(pipeEnds[1]);
    char buffer[64] = {};
    const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer - 1);
    ::close(pipeEnds[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(QByteArray(buffer, got > 0 ? got : 0), "pending");
}

}  // namespace
}  // namespace quillet
