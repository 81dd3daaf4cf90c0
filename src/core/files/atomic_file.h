#pragma once
// Replacing a file's content so that a failure never leaves it half written.

#include <optional>
#include <string>
#include <string_view>

#include "core/files/file_error.h"

namespace zl {

/// Writes `bytes` to a new file beside `path`, flushes it to the disk and
/// renames it over `path`. Only a regular file is replaced, or a new one
/// made; a symbolic link is followed to the regular file it leads to and
/// stays a link. Any other existing target (a folder, a device, a FIFO) is
/// refused before anything is written. On any failure the former file is
/// left as it was, the temporary file is removed and a WriteFailed error
/// names the file and the reason. A new file gets the usual permissions; a
/// replaced one keeps its own.
[[nodiscard]] std::optional<FileError> replaceFileAtomically(const std::string &path, std::string_view bytes);

}  // namespace zl
