#pragma once
// What the command-line tests share: a run of runCommandLine with its exit code
// and both streams, and a temporary folder for the files a test writes.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/cli_commands.h"

namespace zl::cli::testing {

struct Outcome {
    int exitCode;
    std::string out;
    std::string err;
};

inline Outcome runCli(const Arguments &args) {
    std::ostringstream out, err;
    const int code = runCommandLine(args, out, err);
    return {code, out.str(), err.str()};
}

inline std::string readBytes(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

/// A folder of the test's own, removed afterwards.
class CliFolderTest : public ::testing::Test {
protected:
    // ctest runs each test in a process of its own, one test after another within it.
    void SetUp() override { std::filesystem::create_directories(folder_); }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string write(const std::string &name, const std::string &bytes) {
        const std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string path(const std::string &name) const { return (folder_ / name).string(); }

    std::filesystem::path folder_ =
        std::filesystem::temp_directory_path() / ("zerolith-cli-" + std::to_string(::getpid()));
};

}  // namespace zl::cli::testing
