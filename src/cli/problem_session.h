#pragma once
// One problem opened from a file, as the window's Open leaves it: the record
// filled, the engine set up with the math library and the start-up
// statements, the constants registered and the residuals compiled.

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/eval/equation_evaluator.h"
#include "core/eval/math_library.h"
#include "core/eval/script_engine.h"
#include "core/files/problem_file.h"
#include "core/problem/problem_state.h"

namespace zl::cli {

/// Exit codes shared by the subcommands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitScriptError = 1;
inline constexpr int kExitBadInput = 2;

class ProblemSession {
public:
    /// Opens `path`; on failure prints "zerolith-cli: FILE:LINE: what is wrong"
    /// (or "zerolith-cli: FILE: Incompatible file") on `err` and returns nothing.
    static std::unique_ptr<ProblemSession> open(const std::string &path, std::ostream &err);

    ProblemState &problem() { return problem_; }
    ScriptEngine &engine() { return engine_; }
    EquationEvaluator &evaluator() { return evaluator_; }
    const std::vector<std::string> &constantItems() const { return constantItems_; }

    /// The texts the window's fields would show for this problem.
    ProblemFieldTexts fieldTexts() const;

    /// True once an engine error outside the recoverable set was reported.
    bool scriptErrorReported() const { return scriptErrorReported_; }
    /// False when a constant failed (and was reported) as the file was opened.
    bool constantsRegistered() const { return constantsRegistered_; }

    /// Writes the problem and its solutions to `path`; prints why it failed.
    [[nodiscard]] bool save(const std::string &path, std::ostream &err);

private:
    explicit ProblemSession(std::ostream &err);

    ProblemState problem_;
    MathLibrary library_;
    ScriptEngine engine_;
    EquationEvaluator evaluator_;
    std::vector<std::string> constantItems_;
    std::ostream &err_;
    bool scriptErrorReported_ = false;
    bool constantsRegistered_ = true;
    std::int32_t windowErrorNumber_ = 0;
};

}  // namespace zl::cli
