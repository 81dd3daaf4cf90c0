#pragma once
// Our VBScript expression engine: statements and expressions, compiled once
// and evaluated many times. Global names live as long as the engine.
// Code outside this folder (the window, zerolith-cli, the benchmarks) uses only
// this class, so the stages behind it can change without touching that code.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "core/eval/script_error.h"

namespace zl {

class MathLibrary;
class NameScope;

/// The result of evaluating an expression to a double.
struct NumberResult {
    double value = 0;
    std::optional<ScriptError> error;
    bool ok() const { return !error; }
};

class ScriptEngine {
public:
    using ErrorObserver = std::function<void(const ScriptError &)>;

    ScriptEngine();
    ~ScriptEngine();
    ScriptEngine(const ScriptEngine &) = delete;
    ScriptEngine &operator=(const ScriptEngine &) = delete;

    /// Called on every engine error, before the failing call returns.
    void setErrorObserver(ErrorObserver observer);

    /// Adds the math library as the object "sh" with its members global:
    /// Asin..Atanh callable by bare name, pi, halfpi, e, x, ierr readable and
    /// writable by bare name and as sh.name. The library must outlive the engine.
    void addMathLibrary(MathLibrary &library);

    /// Gives this engine the variables of `source` with their current values:
    /// the constants a run needs, for an engine of its own on another thread
    /// (its library a copy of the source's, its evaluator compiled from the
    /// same problem). Library members stay this engine's own.
    void copyVariablesFrom(const ScriptEngine &source);

    /// Runs one statement, or several separated by ":": "a = 2.37",
    /// "public x,y,z,w", "dim a". Returns the failure, if any.
    [[nodiscard]] std::optional<ScriptError> executeStatement(std::string_view text);

    /// Evaluates an expression and converts the result to a double: numbers as
    /// they are, True -1, False 0, Empty 0, numeric text its value; other text
    /// fails with 13.
    [[nodiscard]] NumberResult evaluateNumber(std::string_view text);

private:
    // The equation evaluator binds residuals to the engine's names and
    // reports its errors through the engine's observer.
    friend class EquationEvaluator;
    // The interval compiler binds the same names (script_engine_impl.h).
    friend NameScope &engineScope(ScriptEngine &engine);
    struct Impl;
    Impl &impl() { return *impl_; }

    std::unique_ptr<Impl> impl_;
};

/// The statements that give pi, halfpi and e their values at start-up, in order.
inline constexpr std::string_view kStartupStatements[] = {
    "halfpi = Atn(1) * 2",
    "pi = Atn(1) * 4",
    "e = Exp(1)",
};

}  // namespace zl
