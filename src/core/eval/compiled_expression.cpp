#include "core/eval/compiled_expression.h"

#include <cmath>

#include "core/eval/math_library.h"
#include "core/eval/numeric_compiler.h"
#include "core/eval/script_error_catalogue.h"
#include "core/eval/tree_interpreter.h"

namespace zl {

CompiledExpression compileExpression(std::shared_ptr<const SyntaxTree> tree, std::int32_t root, NameScope &scope,
                                     CompileOptions options) {
    CompiledExpression compiled;
    compiled.tree = std::move(tree);
    compiled.root = root;
    compiled.names.reserve(compiled.tree->names.size());
    compiled.members.reserve(compiled.tree->names.size());
    for (const std::string &name : compiled.tree->names) {
        compiled.names.push_back(scope.resolve(name));
        compiled.members.push_back(scope.resolveMember(name));
    }
    compiled.generation = scope.globals().generation();
    if (options.numeric) compiled.numeric = compileNumericProgram(compiled, scope, options.optimise);
    return compiled;
}

std::size_t stackSlots(const CompiledExpression &expression) {
    return expression.numeric ? static_cast<std::size_t>(expression.numeric->maxDepth) + 1 : 1;
}

std::int32_t evaluateToNumber(const CompiledExpression &expression, NameScope &scope, double *stack, double &value,
                              RuntimeFailure &failure) {
    if (expression.numeric) {
        MathLibrary *library = scope.library();
        const std::int32_t libraryErrorBefore = library ? library->ierr : 0;
        double result = 0;
        std::int32_t status = 0;
        if (runNumericProgram(*expression.numeric, {.stack = stack, .values = &result, .statuses = &status}) == 1) {
            value = result;
            return 0;
        }
        // The rerun below must start from the same state: the expression may read ierr.
        if (library) library->ierr = libraryErrorBefore;
    }
    // The general path: text and mixed values, and every failure of the
    // numeric program, whose exact error and place it establishes.
    TreeInterpreter interpreter(expression, scope);
    Value result;
    if (!interpreter.evaluate(expression.root, result)) {
        failure = interpreter.failure();
        return failure.number;
    }
    const std::optional<double> number = numericValue(result);
    if (!number) {
        failure = {errorNumber(ScriptErrorCode::TypeMismatch), 0};
        return failure.number;
    }
    value = *number;
    return 0;
}

}  // namespace zl
