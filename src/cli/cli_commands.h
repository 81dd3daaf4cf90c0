#pragma once
// The subcommands of zerolith-cli. Each takes the arguments after its own
// name and returns the process exit code: 0 success, 1 a script error ended
// the work (memory running out among them), 2 bad arguments, a bad file or
// output that could not be written.

#include <iosfwd>
#include <string>
#include <vector>

namespace zl::cli {

using Arguments = std::vector<std::string>;

[[nodiscard]] int runCommandLine(const Arguments &args, std::ostream &out, std::ostream &err);

[[nodiscard]] int runEvalCommand(const Arguments &args, std::ostream &out, std::ostream &err);
[[nodiscard]] int runExploreCommand(const Arguments &args, std::ostream &out, std::ostream &err);
[[nodiscard]] int runRandomCommand(const Arguments &args, std::ostream &out, std::ostream &err);
[[nodiscard]] int runListCommand(const Arguments &args, std::ostream &out, std::ostream &err);
[[nodiscard]] int runReportCommand(const Arguments &args, std::ostream &out, std::ostream &err);
[[nodiscard]] int runCertifyCommand(const Arguments &args, std::ostream &out, std::ostream &err);

}  // namespace zl::cli
