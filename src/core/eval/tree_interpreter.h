#pragma once
// Evaluates a compiled expression's tree on script values. This is the
// general path (text, mixed types) and the reference the numeric programs
// are checked against.

#include <cstdint>

#include "core/eval/compiled_expression.h"
#include "core/eval/value.h"

namespace zl {

class TreeInterpreter {
public:
    TreeInterpreter(const CompiledExpression &expression, NameScope &scope)
        : expression_(expression), tree_(*expression.tree), scope_(scope) {}

    /// Evaluates node `index` into `result`; false on failure (see failure()).
    [[nodiscard]] bool evaluate(std::int32_t index, Value &result);

    /// The running value of a chain after its first `linkCount` links.
    [[nodiscard]] bool evaluateChainPrefix(const Node &chain, std::int32_t linkCount, Value &result);

    const RuntimeFailure &failure() const { return failure_; }

private:
    [[nodiscard]] bool evaluateConcatenation(const Node &chain, std::int32_t linkCount, Value &result);
    [[nodiscard]] bool evaluateName(const Node &node, Value &result);
    [[nodiscard]] bool evaluateCall(const Node &node, Value &result);
    [[nodiscard]] bool evaluateMember(const Node &node, Value &result);
    [[nodiscard]] bool evaluateMemberCall(const Node &node, Value &result);
    [[nodiscard]] bool callFunction(const NameBinding &binding, const Node &node, Value &result);
    [[nodiscard]] bool evaluateArguments(const Node &node, Value *arguments);
    NameBinding nameBinding(std::int32_t nameId);
    [[nodiscard]] bool fail(std::int32_t number, std::int32_t offset);

    const CompiledExpression &expression_;
    const SyntaxTree &tree_;
    NameScope &scope_;
    RuntimeFailure failure_;
};

}  // namespace zl
