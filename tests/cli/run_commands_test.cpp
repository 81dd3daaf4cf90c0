// What stops or refuses a run of zerolith-cli: Ctrl-C, --timeout, a constant
// that cannot be computed; and the run options' help.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <regex>
#include <thread>
#include <tuple>

#include "cli/exit_codes.h"
#include "cli_test_support.h"

namespace zl::cli {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::Outcome;
using testing::readBytes;
using testing::runCli;

/// 401^3 nodes of the sphere, x=y and sin(3z)=xy: tens of seconds on one thread.
const char *const kLongExplore = "Rootex\r\n3,0,0.01,8\r\n\"x\",-2,2,400,\"x^2+y^2+z^2=1\"\r\n"
                                 "\"y\",-2,2,400,\"x=y\"\r\n\"z\",-2,2,400,\"sin(3*z)=x*y\"\r\n 0 \r\n";

/// "RUN STOPPED: N of 64481201 nodes." then the count line, at the end of the list.
const std::regex kStoppedListEnd(R"((^|\n)RUN STOPPED: [0-9]+ of 64481201 nodes\.\n[0-9]+ solutions\n$)");

using RunCommands = testing::CliFolderTest;

TEST_F(RunCommands, FirstCtrlCStopsTheRunAndPrintsWhatItFound) {
    const std::string problem = write("long.zerolith", kLongExplore);
    const fs::path out = folder_ / "out", err = folder_ / "err";
    const pid_t child = fork();
    if (child == 0) {  // only calls safe after a fork, up to the program's start
        dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDOUT_FILENO);
        dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
        execl(ZEROLITH_CLI_PATH, ZEROLITH_CLI_PATH, "explore", problem.c_str(), "--progress", "--threads", "2",
              nullptr);
        _exit(127);
    }
    ASSERT_GT(child, 0);

    // The first progress line shows the run under way, its handler installed.
    for (auto waited = 0ms; readBytes(err).empty() && waited < 60s; waited += 20ms) std::this_thread::sleep_for(20ms);
    ASSERT_FALSE(readBytes(err).empty()) << "no progress";
    kill(child, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);

    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), kExitInterrupted);
    const std::string listed = readBytes(out);
    EXPECT_TRUE(std::regex_search(listed, kStoppedListEnd)) << listed;
    EXPECT_NE(readBytes(err).find("Explore: "), std::string::npos);
}

TEST_F(RunCommands, TimeoutStopsTheRunTheSameWay) {
    const Outcome outcome = runCli({"explore", write("long.zerolith", kLongExplore), "--timeout", "0.3"});
    EXPECT_EQ(outcome.exitCode, kExitTimedOut);
    EXPECT_TRUE(std::regex_search(outcome.out, kStoppedListEnd)) << outcome.out;
    EXPECT_EQ(outcome.err, "") << "no progress line where stderr is no terminal";
}

// Every command that opens the file says it once, runs nothing and exits 1.
TEST_F(RunCommands, AFailingConstantEndsEveryCommandWithOneMessageNamingIt) {
    const std::pair<const char *, std::string> rows[] = {
        // The earlier value of c is not used in its place.
        {" 2 \r\nc=2\r\nc=Sqr(-1)\r\n 0 \r\n",
         "zerolith-cli: the constant c=Sqr(-1) cannot be computed: error 5: Invalid procedure call or argument\n"},
        {" 1 \r\nk=foo(\r\n 0 \r\n", "zerolith-cli: Error in Script Control\nZerolith script compilation error 1002\n"
                                     "Syntax error\n\nAt line 1, col 6: [k=foo(]\n"},
    };
    for (const auto &[constants, error] : rows) {
        const std::string file =
            write("p.zerolith", std::string("Rootex\r\n1,0,0.01,8\r\n\"x\",-5,5,10,\"x=c\"\r\n") + constants);
        for (const Arguments &args : {Arguments{"explore", file}, Arguments{"random", file, "--seeds", "3"},
                                      Arguments{"list", file}, Arguments{"report", file}}) {
            const Outcome outcome = runCli(args);
            EXPECT_EQ(std::tie(outcome.exitCode, outcome.out, outcome.err), std::tuple(kExitScriptError, "", error))
                << args.front() << ": " << constants;
        }
    }
}

TEST(CommandLine, HelpShowsTheCommandsAndTheRunOptionsWithTheirBounds) {
    const std::vector<std::string> runOptions{"--threads N", "1 to 256", "--timeout SECONDS", "--quiet",
                                              "--progress",  "Ctrl-C",   "exit 124",          "exit 130"};
    const std::pair<Arguments, std::vector<std::string>> rows[] = {
        {{"--help"}, {"eval [--exec STATEMENT]... EXPRESSION"}},
        {{"explore", "--help"}, runOptions},
        {{"random", "--help"}, runOptions}};
    for (const auto &[args, parts] : rows) {
        const Outcome outcome = runCli(args);
        EXPECT_EQ(std::tie(outcome.exitCode, outcome.err), std::tuple(kExitOk, "")) << args.front();
        for (const std::string &part : parts) EXPECT_THAT(outcome.out, ::testing::HasSubstr(part)) << args.front();
    }
}

}  // namespace
}  // namespace zl::cli
