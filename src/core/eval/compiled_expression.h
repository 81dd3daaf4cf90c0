#pragma once
// An expression ready to run: its tree, what each of its names refers to
// now, and, where its values can only be numbers, a numeric program.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "core/eval/name_scope.h"
#include "core/eval/numeric_program.h"
#include "core/eval/syntax_tree.h"

namespace zl {

struct CompiledExpression {
    std::shared_ptr<const SyntaxTree> tree;
    std::int32_t root = -1;
    std::vector<NameBinding> names;    ///< per name id of the tree
    std::vector<NameBinding> members;  ///< per name id, as a member of the library object
    std::optional<NumericProgram> numeric;
    std::uint64_t generation = 0;  ///< the globals' generation the bindings were made for
};

struct CompileOptions {
    bool numeric = true;   ///< build a numeric program where the types allow
    bool optimise = true;  ///< fold constants and fuse instructions in it
};

CompiledExpression compileExpression(std::shared_ptr<const SyntaxTree> tree, std::int32_t root, NameScope &scope,
                                     CompileOptions options = {});

/// Where a run failed: the error number and the source position.
struct RuntimeFailure {
    std::int32_t number = 0;
    std::int32_t offset = 0;
};

/// Runs a compiled expression and converts its result to a double (truth
/// values -1/0, Empty 0, numeric text its value, other text 13). `stack`
/// holds at least stackSlots(expression) doubles. Returns 0, or the error
/// number with its place in `failure`.
[[nodiscard]] std::int32_t evaluateToNumber(const CompiledExpression &expression, NameScope &scope, double *stack,
                                            double &value, RuntimeFailure &failure);

/// The stack a run of the expression needs.
std::size_t stackSlots(const CompiledExpression &expression);

}  // namespace zl
