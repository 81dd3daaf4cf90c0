#pragma once
// Bounds of the command line's options, shared by the commands and --help.

namespace zl::cli {

/// --timeout takes at most a year: a run meant to end never needs more.
inline constexpr double kMaxTimeoutSeconds = 365.0 * 24 * 3600;

/// --width of the report: far wider than any printer, narrower than a line
/// that would take unbounded memory.
inline constexpr int kMaxReportWidth = 100000;

}  // namespace zl::cli
