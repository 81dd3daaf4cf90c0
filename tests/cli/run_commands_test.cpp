// What stops or refuses a run of zerolith-cli: Ctrl-C, --timeout, a constant
// that cannot be computed; and the run options' help.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <regex>
#include <thread>

#include "cli/exit_codes.h"
#include "cli_test_support.h"

extern char **environ;

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
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<std::string> words{ZEROLITH_CLI_PATH, "explore", problem, "--progress", "--threads", "2"};
    std::vector<char *> argv;
    for (std::string &word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, argv[0], &files, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&files);

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
    struct Row {
        const char *constants;  ///< the file's constants part
        const char *error;      ///< all stderr must say, or the part it must hold once
        bool whole;
    };
    const Row rows[] = {
        // The earlier value of c is not used in its place.
        {" 2 \r\nc=2\r\nc=Sqr(-1)\r\n 0 \r\n",
         "zerolith-cli: the constant c=Sqr(-1) cannot be computed: error 5: Invalid procedure call or argument\n",
         true},
        {" 1 \r\nk=foo(\r\n 0 \r\n", "Error in Script Control\n", false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.constants);
        const std::string file =
            write("p.zerolith", std::string("Rootex\r\n1,0,0.01,8\r\n\"x\",-5,5,10,\"x=c\"\r\n") + row.constants);
        for (const Arguments &args : {Arguments{"explore", file}, Arguments{"random", file, "--seeds", "3"},
                                      Arguments{"list", file}, Arguments{"report", file}}) {
            const Outcome outcome = runCli(args);
            EXPECT_EQ(outcome.exitCode, kExitScriptError) << args.front();
            EXPECT_EQ(outcome.out, "") << args.front();
            if (row.whole) {
                EXPECT_EQ(outcome.err, row.error) << args.front();
            } else {
                EXPECT_NE(outcome.err.find(row.error), std::string::npos) << outcome.err;
                EXPECT_EQ(outcome.err.find("zerolith-cli:"), outcome.err.rfind("zerolith-cli:")) << outcome.err;
            }
        }
    }
}

TEST_F(RunCommands, CommandHelpShowsTheRunOptionsWithTheirBounds) {
    for (const char *command : {"explore", "random"}) {
        const Outcome outcome = runCli({command, "--help"});
        EXPECT_EQ(outcome.exitCode, kExitOk);
        for (const char *part : {"--threads N", "1 to 256", "--timeout SECONDS", "--quiet", "--progress", "Ctrl-C",
                                 "exit 124", "exit 130"})
            EXPECT_NE(outcome.out.find(part), std::string::npos) << command << ": " << part;
    }
}

}  // namespace
}  // namespace zl::cli
