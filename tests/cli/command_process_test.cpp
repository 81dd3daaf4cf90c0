// zerolith-cli as a process: what main() adds around the commands (the real
// standard streams) and what the process takes from the system.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct ProcessOutcome {
    int exitCode;  ///< 128 + N for a process ended by signal N
    std::string err;
};

class CommandProcess : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("zerolith-process-" + std::to_string(::getpid()) + "-" +
                                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string write(const std::string &name, const std::string &bytes) {
        const fs::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    /// Runs `zerolith-cli ARGUMENTS` in sh after `prefix` (say, a ulimit).
    ProcessOutcome run(const std::string &arguments, const std::string &prefix = "") {
        const fs::path errors = folder_ / "stderr";
        const std::string command =
            prefix + " '" + std::string(ZEROLITH_CLI_PATH) + "' " + arguments + " 2> '" + errors.string() + "'";
        const int status = std::system(("sh -c \"" + command + "\"").c_str());
        std::stringstream err;
        err << std::ifstream(errors).rdbuf();
        const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return {code, err.str()};
    }

    fs::path folder_;
};

const char *const kCircleAndLine =
    "Rootex\r\n2,1,0.001,8\r\n\"x\",-5,5,10,\"x^2+y^2=k\"\r\n\"y\",-5,5,10,\"x=y\"\r\n 1 \r\nk=2\r\n 1 \r\n 1 \r\n";

TEST_F(CommandProcess, OutputToAFullDiskIsAFailure) {
    const std::string file = write("p.zerolith", kCircleAndLine);
    for (const std::string &arguments : {"list '" + file + "'", std::string("eval 1+1")}) {
        const ProcessOutcome outcome = run(arguments + " > /dev/full");
        EXPECT_EQ(outcome.exitCode, 2) << arguments;
        EXPECT_NE(outcome.err.find("cannot write the output: No space left on device"), std::string::npos)
            << outcome.err;
    }
}

TEST_F(CommandProcess, MessagesShowControlCharactersAsEscapes) {
    const std::string file =
        write("esc.zerolith", "Rootex\r\n1,0,0.1,8\r\n\"x\",0,1,2,\"x+*\x1b]0;owned\x07\"\r\n 0 \r\n");
    const ProcessOutcome outcome = run("explore '" + file + "' > /dev/null");
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.err.find("[x+*\\x1B]0;owned\\x07]"), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.err.find('\x1b'), std::string::npos);
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;  // reserves terabytes of address space
#elif defined(__has_feature)
constexpr bool kAddressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool kAddressSanitizer = false;
#endif

/// `order` equations, each on a line of nearly 1 MiB.
std::string longEquations(int order) {
    std::string text = "Rootex\r\n" + std::to_string(order) + ",0,0.001,8\r\n";
    for (int i = 1; i <= order; ++i) {
        const std::string name = "x" + std::to_string(i);
        std::string record = "\"" + name + "\",-5,5,0,\"" + name;
        while (record.size() < (1u << 20) - 8) record += "+" + name;
        text += record + "=1\"\r\n";
    }
    return text + " 0 \r\n";
}

TEST_F(CommandProcess, MemoryRunningOutIsErrorSeven) {
    if (kAddressSanitizer) GTEST_SKIP() << "a memory limit cannot be set under AddressSanitizer";
    const std::string limit = "ulimit -v 24000;";
    EXPECT_EQ(run("list '" + write("small.zerolith", kCircleAndLine) + "' > /dev/null", limit).exitCode, 0);
    const ProcessOutcome outcome = run("list '" + write("long.zerolith", longEquations(8)) + "' > /dev/null", limit);
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, "zerolith-cli: error 7: Out of memory\n");
}

TEST_F(CommandProcess, TheLargestFileExploresWithinAGigabyte) {
    if (kAddressSanitizer) GTEST_SKIP() << "a memory limit cannot be set under AddressSanitizer";
    // 63 equations of lines of nearly 1 MiB: the most a 64 MiB file holds.
    const std::string file = write("largest.zerolith", longEquations(63));
    const ProcessOutcome outcome = run("explore '" + file + "' > /dev/null", "ulimit -v 1048576;");
    // The equations beyond what one problem may compile fail with 7 at their
    // first evaluation, which ends the run like any script error.
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_NE(outcome.err.find("runtime error 7\nOut of memory"), std::string::npos) << outcome.err.substr(0, 200);
}

}  // namespace
