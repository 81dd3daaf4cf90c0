#pragma once
// Compiles the residuals of a problem once more, into one program over
// intervals (see interval_program.h). Names are resolved as the numeric
// programs resolve them: the problem's variables become the program's
// variables, every other name its current value (user constants, pi, e,
// halfpi), and the parts that depend on no variable are computed once, in
// double precision, as the engine computes them.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/eval/interval_program.h"

namespace zl {

class NameScope;
class ScriptEngine;
struct Global;
struct ProblemSpec;
struct SyntaxTree;

struct IntervalCompilation {
    std::optional<IntervalProgram> program;
    /// When there is no program: the 0-based equation and what in it has no
    /// interval form ("text", "the & operator", ...).
    std::int32_t equation = -1;
    std::string reason;
};

/// The program of the given residual trees; variables[i] is where variable
/// i's value is stored (null for a variable that cannot take a value).
IntervalCompilation compileIntervalProgram(const std::vector<std::shared_ptr<const SyntaxTree>> &residuals,
                                           NameScope &scope, const std::vector<Global *> &variables);

/// The program of the record's residuals with the engine's current names.
IntervalCompilation compileIntervalSystem(ScriptEngine &engine, const ProblemSpec &record);

}  // namespace zl
