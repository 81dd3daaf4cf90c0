#pragma once
// Writing a ProblemFileData as the bytes of a problem file.

#include <optional>
#include <string>

#include "core/files/file_error.h"
#include "core/files/problem_file_data.h"

namespace zl {

/// Why `data` would not read back as it stands, or nothing: a name or an
/// equation holding a double quote, a constant holding a comma or starting with
/// a blank or a quote, a line break in any text, a number that is not finite,
/// an integer field beyond 32 bits, an error bound not above 0 or an
/// iteration limit below 1, more variables, solutions or constants
/// than the reader takes, a line longer than kMaxFileLineLength or a file
/// larger than kMaxFileBytes as written.
[[nodiscard]] std::optional<FileError> findUnwritableContent(const ProblemFileData &data);

/// The whole file, lines ended by CR LF. Comma-separated lines hold numbers in
/// the general number text and texts in double quotes; a number on a line of
/// its own has a blank before it unless negative and a blank after it.
std::string problemFileText(const ProblemFileData &data);

}  // namespace zl
