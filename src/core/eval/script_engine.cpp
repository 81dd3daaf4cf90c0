#include "core/eval/script_engine.h"

#include <algorithm>
#include <new>
#include <vector>

#include "core/eval/compiled_expression.h"
#include "core/eval/parser.h"
#include "core/eval/script_engine_impl.h"
#include "core/eval/script_error_catalogue.h"
#include "core/eval/tree_interpreter.h"

namespace zl {
namespace {

constexpr std::string_view kRuntimeSource = "Zerolith script runtime error";
constexpr std::string_view kCompilationSource = "Zerolith script compilation error";

}  // namespace

ScriptError ScriptEngine::Impl::makeError(std::int32_t number, std::int32_t offset, std::string_view text) const {
    ScriptError error;
    error.number = number;
    error.source = std::string(isCompilationError(number) ? kCompilationSource : kRuntimeSource);
    error.description = std::string(errorDescription(number));
    const std::size_t position = std::min(static_cast<std::size_t>(std::max(offset, 0)), text.size());
    const std::string_view before = text.substr(0, position);
    const std::size_t lastLineEnd = before.rfind('\n');
    error.line = 1 + static_cast<std::int32_t>(std::count(before.begin(), before.end(), '\n'));
    error.column =
        static_cast<std::int32_t>(lastLineEnd == std::string_view::npos ? position : position - lastLineEnd - 1);
    error.text = std::string(text);
    return error;
}

ScriptError ScriptEngine::Impl::raise(std::int32_t number, std::int32_t offset, std::string_view text) const {
    ScriptError error = makeError(number, offset, text);
    if (observer) observer(error);
    return error;
}

std::optional<ScriptError> ScriptEngine::Impl::executeStatement(std::string_view text) {
    const ParseResult parsed = parseStatements(text);
    if (!parsed.ok()) return raise(parsed.failure.number, parsed.failure.offset, text);
    // Bound once for the whole text; names that earlier statements create
    // are found when they are first read.
    const CompiledExpression compiled = compileExpression(parsed.tree, -1, scope, {.numeric = false});
    for (const Statement &statement : parsed.tree->statements) {
        std::int32_t offset = statement.offset;
        if (const std::int32_t number = runStatement(compiled, statement, offset)) return raise(number, offset, text);
    }
    return std::nullopt;
}

NumberResult ScriptEngine::Impl::evaluateNumber(std::string_view text) {
    const ParseResult parsed = parseExpression(text);
    if (!parsed.ok()) return {0, raise(parsed.failure.number, parsed.failure.offset, text)};
    const CompiledExpression compiled = compileExpression(parsed.tree, parsed.tree->root, scope);
    std::vector<double> stack(stackSlots(compiled));
    NumberResult result;
    RuntimeFailure failure;
    if (evaluateToNumber(compiled, scope, stack.data(), result.value, failure) != 0)
        result.error = raise(failure.number, failure.offset, text);
    return result;
}

std::int32_t ScriptEngine::Impl::runStatement(const CompiledExpression &compiled, const Statement &statement,
                                              std::int32_t &offset) {
    if (statement.kind == StatementKind::Declare) return runDeclaration(*compiled.tree, statement, offset);
    return runAssignment(compiled, statement, offset);
}

/// Declares each name that is not known yet as Empty; known names keep their values.
std::int32_t ScriptEngine::Impl::runDeclaration(const SyntaxTree &tree, const Statement &statement,
                                                std::int32_t &offset) {
    for (std::int32_t i = 0; i < statement.count; ++i) {
        const NameUse &use = tree.declarations[static_cast<std::size_t>(statement.start + i)];
        const std::string &name = tree.names[static_cast<std::size_t>(use.name)];
        if (scope.resolve(name).kind != NameKind::Undefined) continue;
        if (scope.globals().size() >= kMaxGlobals) {
            offset = use.offset;
            return errorNumber(ScriptErrorCode::OutOfMemory);
        }
        scope.globals().declare(name);
    }
    return 0;
}

/// target = value. Functions and the library object cannot be assigned; a
/// new name becomes a global once its value has been computed.
std::int32_t ScriptEngine::Impl::runAssignment(const CompiledExpression &compiled, const Statement &statement,
                                               std::int32_t &offset) {
    const SyntaxTree &tree = *compiled.tree;
    const std::string &name = tree.names[static_cast<std::size_t>(statement.target)];
    const NameBinding target = scope.resolve(name);
    NameBinding destination = target;
    if (statement.targetMember >= 0) {
        if (target.kind != NameKind::LibraryObject) return errorNumber(ScriptErrorCode::ObjectRequired);
        destination = scope.resolveMember(tree.names[static_cast<std::size_t>(statement.targetMember)]);
        if (destination.kind == NameKind::LibraryFunction) return errorNumber(ScriptErrorCode::WrongNumberOfArguments);
        if (destination.kind != NameKind::Variable) return errorNumber(ScriptErrorCode::ObjectDoesNotSupport);
    } else if (target.kind != NameKind::Variable && target.kind != NameKind::Undefined) {
        return errorNumber(ScriptErrorCode::IllegalAssignment);
    }

    TreeInterpreter interpreter(compiled, scope);
    Value value;
    if (!interpreter.evaluate(statement.value, value)) {
        offset = interpreter.failure().offset;
        return interpreter.failure().number;
    }
    if (!destination.global && scope.globals().size() >= kMaxGlobals) return errorNumber(ScriptErrorCode::OutOfMemory);
    Global &global = destination.global ? *destination.global : scope.globals().declare(name);
    return scope.globals().assign(global, std::move(value));
}

ScriptEngine::ScriptEngine() : impl_(std::make_unique<Impl>()) {}

ScriptEngine::~ScriptEngine() = default;

void ScriptEngine::setErrorObserver(ErrorObserver observer) { impl_->observer = std::move(observer); }

void ScriptEngine::addMathLibrary(MathLibrary &library) { impl_->scope.addLibrary(library); }

void ScriptEngine::copyVariablesFrom(const ScriptEngine &source) {
    const NameScope &sourceScope = source.impl_->scope;
    impl_->scope.globals().copyScriptVariables(sourceScope.globals());
}

// Memory running out inside a statement or an evaluation is that call's
// failure, error 7, like any other: what the engine held before stays.
// When not even the text can be copied into the report, its start is.
ScriptError ScriptEngine::Impl::raiseOutOfMemory(std::string_view text) const {
    constexpr std::int32_t kOutOfMemory = errorNumber(ScriptErrorCode::OutOfMemory);
    try {
        return raise(kOutOfMemory, 0, text);
    } catch (const std::bad_alloc &) {
        return raise(kOutOfMemory, 0, text.substr(0, 80));
    }
}

std::optional<ScriptError> ScriptEngine::executeStatement(std::string_view text) {
    try {
        return impl_->executeStatement(text);
    } catch (const std::bad_alloc &) {
        return impl_->raiseOutOfMemory(text);
    }
}

NumberResult ScriptEngine::evaluateNumber(std::string_view text) {
    try {
        return impl_->evaluateNumber(text);
    } catch (const std::bad_alloc &) {
        return {0, impl_->raiseOutOfMemory(text)};
    }
}

}  // namespace zl
