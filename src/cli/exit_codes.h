#pragma once
// The exit status of zerolith-cli.

namespace zl::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitScriptError = 1;    ///< a script error or a failing constant ended the work
inline constexpr int kExitBadInput = 2;       ///< bad arguments, a bad problem file, a file not saved
inline constexpr int kExitTimedOut = 124;     ///< --timeout stopped the run (as timeout(1) does)
inline constexpr int kExitInterrupted = 130;  ///< Ctrl-C stopped the run (128 + SIGINT)

}  // namespace zl::cli
