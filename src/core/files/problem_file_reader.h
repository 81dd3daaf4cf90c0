#pragma once
// Reading a whole problem file into a ProblemFileData. Nothing else is
// touched, so a malformed file leaves the problem on show as it was.

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "core/files/file_error.h"
#include "core/files/problem_file_data.h"

namespace zl {

struct ProblemFileReading {
    ProblemFileData data;            ///< complete only when there is no error
    std::optional<FileError> error;  ///< Incompatible for a first field other than "Rootex"

    bool ok() const { return !error.has_value(); }
};

/// Reads the file at `path`. Lines may end in CR LF or LF alone; anything
/// after the last solution value is not read.
[[nodiscard]] ProblemFileReading readProblemFile(const std::string &path);

[[nodiscard]] ProblemFileReading readProblemFile(std::istream &in);
[[nodiscard]] ProblemFileReading readProblemFileText(std::string_view text);

}  // namespace zl
