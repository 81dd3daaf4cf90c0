#include "core/files/atomic_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/resource.h>
#include <unistd.h>

namespace zl {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("zerolith-atomic-" + std::to_string(::getpid()) + "-" +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    static std::string contentOf(const fs::path &path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    static void writeFile(const fs::path &path, const std::string &bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::size_t entriesInFolder() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }

    fs::path folder_;
};

TEST_F(AtomicFileTest, CreatesANewFileAndLeavesNothingElse) {
    const auto target = folder_ / "new.zerolith";
    ASSERT_FALSE(replaceFileAtomically(target.string(), "Rootex\r\n"));
    EXPECT_EQ(contentOf(target), "Rootex\r\n");
    EXPECT_EQ(entriesInFolder(), 1u);
}

TEST_F(AtomicFileTest, ReplacesTheFormerContentAndKeepsItsPermissions) {
    const auto target = folder_ / "old.zerolith";
    writeFile(target, "a much longer former content than the new one");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_FALSE(replaceFileAtomically(target.string(), "new"));
    EXPECT_EQ(contentOf(target), "new");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(entriesInFolder(), 1u);
}

TEST_F(AtomicFileTest, SavingThroughALinkReplacesTheLinkedFileAndKeepsTheLink) {
    const auto target = folder_ / "real.zerolith";
    const auto link = folder_ / "link.zerolith";
    writeFile(target, "old");
    fs::create_symlink(target, link);
    ASSERT_FALSE(replaceFileAtomically(link.string(), "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contentOf(target), "new");
}

TEST_F(AtomicFileTest, AMissingFolderIsReportedWithThePath) {
    const auto target = folder_ / "missing" / "file.zerolith";
    const auto error = replaceFileAtomically(target.string(), "bytes");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, FileErrorCode::WriteFailed);
    EXPECT_NE(error->message.find(target.string()), std::string::npos) << error->message;
    EXPECT_EQ(entriesInFolder(), 0u);
}

TEST_F(AtomicFileTest, AFolderInTheTargetsPlaceStaysAndNoTemporaryIsLeft) {
    const auto target = folder_ / "taken";
    fs::create_directories(target / "inside");
    const auto error = replaceFileAtomically(target.string(), "bytes");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, FileErrorCode::WriteFailed);
    EXPECT_TRUE(fs::is_directory(target / "inside"));
    EXPECT_EQ(entriesInFolder(), 1u);
}

TEST_F(AtomicFileTest, AWriteThatFailsHalfwayKeepsTheFormerFile) {
    const auto target = folder_ / "kept.zerolith";
    writeFile(target, "former content");

    // A file size limit makes the write fail after a few bytes, as a full disk would.
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
    EXPECT_EQ(entriesInFolder(), 1u);
}

TEST_F(AtomicFileTest, AReadOnlyFolderKeepsTheFormerFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    const auto target = folder_ / "kept.zerolith";
    writeFile(target, "former content");
    fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    const auto error = replaceFileAtomically(target.string(), "new");
    fs::permissions(folder_, fs::perms::owner_all);
    ASSERT_TRUE(error);
    EXPECT_EQ(contentOf(target), "former content");
    EXPECT_EQ(entriesInFolder(), 1u);
}

} // namespace
} // namespace zl
