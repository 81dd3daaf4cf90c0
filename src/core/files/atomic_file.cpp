#include "core/files/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace zl {
namespace {

namespace fs = std::filesystem;

FileError writeFailure(const std::string &path, int errorNumber) {
    return makeFileError(FileErrorCode::WriteFailed, 0, "Cannot save " + path + ": " + std::strerror(errorNumber));
}

/// The file that `path` names: a symbolic link is followed, so the link stays.
fs::path resolvedTarget(const std::string &path) {
    std::error_code ignored;
    if (fs::is_symlink(path, ignored)) {
        const auto target = fs::weakly_canonical(path, ignored);
        if (!ignored) return target;
    }
    return fs::path(path);
}

/// A temporary file in the target's folder, created exclusively so that no
/// other file is ever overwritten. Returns its descriptor, or -1 with errno set.
int createTemporaryBeside(const fs::path &target, fs::path &temporary) {
    const auto folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    const auto stem = "." + target.filename().string() + ".saving-" + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder / (stem + std::to_string(attempt));
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
    const auto target = resolvedTarget(path);
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
