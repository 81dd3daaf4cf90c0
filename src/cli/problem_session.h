#pragma once
// One problem opened from a file for one command: the core session with the
// record filled as the window's Open leaves it, the file's constants list,
// and the command line's way of reporting script errors and failing
// constants on stderr.

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/exit_codes.h"
#include "core/session/session.h"

namespace zl::cli {

class ProblemSession {
public:
    /// Opens `path`; on failure prints "zerolith-cli: FILE:LINE: what is wrong"
    /// (or "zerolith-cli: FILE: Incompatible file") on `err` and returns nothing.
    /// The constants are not run yet: every command runs them once.
    static std::unique_ptr<ProblemSession> open(const std::string &path, std::ostream &err);

    Session &session() { return session_; }
    ProblemState &problem() { return session_.problem(); }
    const std::vector<std::string> &constantItems() const { return constantItems_; }

    /// Runs the constants; after a failure, prints one message naming the
    /// constant and returns false.
    bool registerConstants();

    /// Prints the message for a constant that failed, unless the script
    /// error message that names it was printed already.
    void reportConstantFailure(const ConstantFailure &failure);

    /// True once an engine error outside the recoverable set was reported.
    bool scriptErrorReported() const { return scriptErrorReported_; }

    /// Writes the problem and its solutions to `path`; prints why it failed.
    [[nodiscard]] bool save(const std::string &path, std::ostream &err);

private:
    explicit ProblemSession(std::ostream &err);

    Session session_;
    std::vector<std::string> constantItems_;
    std::ostream &err_;
    bool scriptErrorReported_ = false;
};

}  // namespace zl::cli
