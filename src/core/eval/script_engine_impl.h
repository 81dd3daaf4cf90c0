#pragma once
// The inside of ScriptEngine, shared with the equation evaluator of this folder.

#include <cstdint>
#include <optional>
#include <string_view>

#include "core/eval/name_scope.h"
#include "core/eval/script_engine.h"
#include "core/eval/syntax_tree.h"

namespace zl {

struct CompiledExpression;

struct ScriptEngine::Impl {
    NameScope scope;
    ErrorObserver observer;

    /// The diagnostic for an error at `offset` of `text`: source by kind of
    /// error, the catalogue's description, line and column of the offset.
    ScriptError makeError(std::int32_t number, std::int32_t offset, std::string_view text) const;

    /// Passes the error to the observer and returns it.
    ScriptError raise(std::int32_t number, std::int32_t offset, std::string_view text) const;
    /// raise() for error 7, at the start of `text`.
    ScriptError raiseOutOfMemory(std::string_view text) const;

    [[nodiscard]] std::optional<ScriptError> executeStatement(std::string_view text);
    [[nodiscard]] NumberResult evaluateNumber(std::string_view text);

private:
    /// Runs one statement: 0, or the error number with its position in `offset`.
    [[nodiscard]] std::int32_t runStatement(const CompiledExpression &compiled, const Statement &statement,
                                            std::int32_t &offset);
    [[nodiscard]] std::int32_t runAssignment(const CompiledExpression &compiled, const Statement &statement,
                                             std::int32_t &offset);
    [[nodiscard]] std::int32_t runDeclaration(const SyntaxTree &tree, const Statement &statement, std::int32_t &offset);
};

/// The engine's names, for code of this folder that binds them as the engine does.
inline NameScope &engineScope(ScriptEngine &engine) { return engine.impl().scope; }

}  // namespace zl
