#include "core/files/atomic_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace zl {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    static std::string contentOf(const fs::path &path) {
        std::stringstream bytes;
        bytes << std::ifstream(path, std::ios::binary).rdbuf();
        return bytes.str();
    }
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }

    fs::path folder_ = fs::temp_directory_path() / ("zerolith-atomic-" + std::to_string(::getpid()));
};

TEST_F(AtomicFileTest, CreatesOrReplacesTheFileKeepingItsPermissionsAndLinks) {
    const auto target = folder_ / "problem.zerolith";
    ASSERT_FALSE(replaceFileAtomically(target.string(), "first"));
    EXPECT_EQ(contentOf(target), "first");

    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(target, mode);
    ASSERT_FALSE(replaceFileAtomically(target.string(), "2nd"));
    EXPECT_EQ(contentOf(target), "2nd");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, mode);

    const auto link = folder_ / "link.zerolith";
    fs::create_symlink(target, link);
    ASSERT_FALSE(replaceFileAtomically(link.string(), "third"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contentOf(target), "third");
    EXPECT_EQ(entries(), 2u);  // no temporary file left
}

TEST_F(AtomicFileTest, FailuresNameThePathAndLeaveNothingBehind) {
    fs::create_directories(folder_ / "taken" / "inside");
    for (const auto &target : {folder_ / "missing" / "file.zerolith", folder_ / "taken"}) {
        const auto error = replaceFileAtomically(target.string(), "bytes");
        ASSERT_TRUE(error) << target;
        EXPECT_EQ(error->code, FileErrorCode::WriteFailed);
        EXPECT_THAT(error->message, ::testing::HasSubstr(target.string()));
        EXPECT_EQ(entries(), 1u);
    }
    EXPECT_TRUE(fs::is_directory(folder_ / "taken" / "inside"));
}

TEST_F(AtomicFileTest, AWriteThatFailsHalfwayKeepsTheFormerFile) {
    const auto target = folder_ / "kept.zerolith";
    std::ofstream(target, std::ios::binary) << "former content";

    // A file size limit makes the write fail after a few bytes, as a full disk
    // would, and works for the superuser too (unlike a read-only folder).
    rlimit former{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &former), 0);
    const auto formerHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = former;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto error = replaceFileAtomically(target.string(), std::string(4096, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &former);
    std::signal(SIGXFSZ, formerHandler);

    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, FileErrorCode::WriteFailed);
    EXPECT_EQ(contentOf(target), "former content");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicFileTest, RefusesWhatIsNotARegularFileAndTakesTheLongestName) {
    ASSERT_EQ(::mkfifo((folder_ / "fifo").c_str(), 0644), 0);
    ::mknod((folder_ / "null").c_str(), S_IFCHR | 0666, makedev(1, 3));  // superuser only
    fs::create_symlink(folder_ / "fifo", folder_ / "to-fifo");
    fs::create_symlink(folder_ / "nothing", folder_ / "to-nothing");
    for (const char *name : {"fifo", "null", "to-fifo", "to-nothing"}) {
        const auto before = fs::symlink_status(folder_ / name).type();
        if (before == fs::file_type::not_found) continue;  // no device without the superuser
        const auto error = replaceFileAtomically((folder_ / name).string(), "bytes");
        ASSERT_TRUE(error) << name;
        const bool dangling = std::string(name) == "to-nothing";
        EXPECT_THAT(error->message, ::testing::HasSubstr(dangling ? "leads to no file" : ": not a regular file"));
        EXPECT_EQ(fs::symlink_status(folder_ / name).type(), before) << name;
    }
    const std::size_t before = entries();
    const auto longest =
        folder_ / std::string(static_cast<std::size_t>(::pathconf(folder_.c_str(), _PC_NAME_MAX)), 'n');
    ASSERT_FALSE(replaceFileAtomically(longest.string(), "long"));
    EXPECT_EQ(contentOf(longest), "long");
    EXPECT_EQ(entries(), before + 1);  // no temporary file left
}

}  // namespace
}  // namespace zl
