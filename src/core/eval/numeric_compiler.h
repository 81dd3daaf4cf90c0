#pragma once
// Turns an expression whose values can only be numbers into a NumericProgram.

#include <optional>

#include "core/eval/compiled_expression.h"

namespace zl {

/// The numeric program of a bound expression, or nothing when it may meet
/// text (a string literal, "&", a variable holding text). With `optimise`,
/// constant parts are folded and common pairs of steps fused; the result is
/// bit-identical either way.
std::optional<NumericProgram> compileNumericProgram(const CompiledExpression &expression, NameScope &scope,
                                                    bool optimise);

}  // namespace zl
