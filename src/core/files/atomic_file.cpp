#include "core/files/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

namespace zl {
namespace {

namespace fs = std::filesystem;

FileError writeFailure(const std::string &path, const std::string &reason) {
    return makeFileError(FileErrorCode::WriteFailed, 0, "Cannot save " + path + ": " + reason);
}

FileError writeFailure(const std::string &path, int errorNumber) {
    return writeFailure(path, std::strerror(errorNumber));
}

/// The file a save replaces: `path` itself when it is a regular file or does
/// not exist yet, the regular file at the end of a symbolic link (so the link
/// stays). Anything else that exists, a folder, a device, a FIFO, a socket, or
/// a link to one of them or to nothing, is refused: the rename would put a
/// regular file in its place.
std::optional<fs::path> replaceableTarget(const std::string &path, std::string &refusal) {
    struct stat entry {};
    if (::lstat(path.c_str(), &entry) != 0) {
        if (errno == ENOENT) return fs::path(path);  // a new file; a missing folder fails on creating it
        refusal = std::strerror(errno);
        return std::nullopt;
    }
    if (S_ISREG(entry.st_mode)) return fs::path(path);
    if (S_ISLNK(entry.st_mode)) {
        std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
        struct stat target {};
        if (!resolved || ::stat(resolved.get(), &target) != 0) {
            refusal = errno == ENOENT ? "the link leads to no file" : std::strerror(errno);
            return std::nullopt;
        }
        if (S_ISREG(target.st_mode)) return fs::path(resolved.get());
    }
    refusal = "not a regular file";
    return std::nullopt;
}

/// A short name, so that the longest name the folder takes can still be
/// saved to. Unpredictable enough that two saves do not meet; O_EXCL makes
/// sure no other file is ever overwritten.
std::string temporaryName(int attempt) {
    static std::atomic<std::uint64_t> counter{0};
    std::uint64_t mixed = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                          (static_cast<std::uint64_t>(::getpid()) << 32) ^ counter++ ^
                          static_cast<std::uint64_t>(attempt) * 0x9E3779B97F4A7C15u;
    mixed ^= mixed >> 29;
    mixed *= 0xBF58476D1CE4E5B9u;
    mixed ^= mixed >> 32;
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(mixed));
    return std::string(".zl") + digits + ".tmp";
}

/// A temporary file in the target's folder, created exclusively. Returns its
/// descriptor, or -1 with errno set.
int createTemporaryBeside(const fs::path &target, fs::path &temporary) {
    const auto folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder / temporaryName(attempt);
        const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST) return descriptor;
    }
    errno = EEXIST;
    return -1;
}

bool writeAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const auto written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

/// A replaced file keeps its permission bits.
bool copyPermissions(const fs::path &from, int descriptor) {
    struct stat former {};
    if (::stat(from.c_str(), &former) != 0) return errno == ENOENT;
    return ::fchmod(descriptor, former.st_mode & 07777) == 0;
}

/// Makes the rename itself durable; failure here costs nothing but durability.
void syncFolder(const fs::path &target) {
    const auto folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    ::fsync(descriptor);
    ::close(descriptor);
}

}  // namespace

std::optional<FileError> replaceFileAtomically(const std::string &path, std::string_view bytes) {
    std::string refusal;
    const auto found = replaceableTarget(path, refusal);
    if (!found) return writeFailure(path, refusal);
    const fs::path &target = *found;
    fs::path temporary;
    const int descriptor = createTemporaryBeside(target, temporary);
    if (descriptor < 0) return writeFailure(path, errno);

    int errorNumber = 0;
    if (!writeAll(descriptor, bytes) || !copyPermissions(target, descriptor) || ::fsync(descriptor) != 0)
        errorNumber = errno;
    if (::close(descriptor) != 0 && errorNumber == 0) errorNumber = errno;
    if (errorNumber == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) errorNumber = errno;
    if (errorNumber != 0) {
        ::unlink(temporary.c_str());
        return writeFailure(path, errorNumber);
    }
    syncFolder(target);
    return std::nullopt;
}

}  // namespace zl
