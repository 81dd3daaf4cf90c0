// zerolith-cli as a process: what main() adds around the commands (the real
// standard streams) and what the process takes from the system.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

const std::string kFolder = std::filesystem::temp_directory_path() / ("zerolith-process-" + std::to_string(::getpid()));

std::string write(const std::string &name, const std::string &bytes) {
    std::filesystem::create_directories(kFolder);
    std::ofstream(kFolder + "/" + name, std::ios::binary) << bytes;
    return "'" + kFolder + "/" + name + "'";
}

/// Runs `zerolith-cli ARGUMENTS` in sh after `prefix`: the exit code (128 + N
/// for signal N) and what went to stderr.
std::pair<int, std::string> run(const std::string &arguments, const std::string &prefix = "") {
    const int status = std::system(
        ("sh -c \"" + prefix + " '" + ZEROLITH_CLI_PATH + "' " + arguments + " 2> '" + kFolder + "/stderr'\"").c_str());
    std::stringstream err;
    err << std::ifstream(kFolder + "/stderr").rdbuf();
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), err.str()};
}

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

TEST(CommandProcess, OutputToAFullDiskIsAFailure) {
    EXPECT_EQ(run("list " + write("p", "Rootex\r\n1,0,0.1,8\r\n\"x\",0,1,2,\"x\"\r\n 0 \r\n") + " > /dev/full"),
              std::make_pair(2, std::string("zerolith-cli: cannot write the output: No space left on device\n")));
}

TEST(CommandProcess, MessagesShowControlCharactersAsEscapes) {
    const auto [code, err] =
        run("explore " + write("esc", "Rootex\r\n1,0,0.1,8\r\n\"x\",0,1,2,\"x+*\x1b]0;t\x07\"\r\n 0 \r\n") +
            " > /dev/null");
    EXPECT_EQ(code, 1);
    EXPECT_NE(err.find("[x+*\\x1B]0;t\\x07]"), std::string::npos) << err;
}

TEST(CommandProcess, TheLargestFileExploresWithinAGigabyteAndLessMemoryIsErrorSeven) {
    // The address and thread sanitizers reserve more address space than any limit
    // (Clang and GCC tell that one is on in two ways).
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
    GTEST_SKIP() << "under a sanitizer";
#endif
#elif defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "under a sanitizer";
#endif
    // 63 equations on lines of nearly 1 MiB, the most a 64 MiB file holds: those
    // beyond the syntax a problem may compile fail with 7, a script error.
    const auto [code, err] =
        run("explore " + write("largest", longEquations(63)) + " > /dev/null", "ulimit -v 1048576;");
    EXPECT_EQ(code, 1);
    EXPECT_NE(err.find("runtime error 7\nOut of memory"), std::string::npos) << err.substr(0, 200);
    EXPECT_EQ(run("list " + write("long", longEquations(8)) + " > /dev/null", "ulimit -v 24000;"),
              std::make_pair(1, std::string("zerolith-cli: error 7: Out of memory\n")));
    std::filesystem::remove_all(kFolder);
}

}  // namespace
