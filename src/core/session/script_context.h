#pragma once
// The expression engine as every part of the program uses it: the math
// library added as "sh", the start-up statements run (halfpi, pi, e), one
// error observer, and the number of the last failed evaluation (the window's
// ierr), which the engine's errors and the library's failures both write.

#include <cstdint>
#include <functional>
#include <memory>

#include "core/eval/math_library.h"
#include "core/eval/script_engine.h"
#include "core/eval/script_error.h"

namespace zl {

class ScriptContext {
public:
    using ErrorObserver = std::function<void(const ScriptError &)>;

    ScriptContext();
    ScriptContext(const ScriptContext &) = delete;
    ScriptContext &operator=(const ScriptContext &) = delete;

    /// Sees every engine error (the recoverable numbers too), before the
    /// failing call returns.
    void setErrorObserver(ErrorObserver observer) { observer_ = std::move(observer); }

    ScriptEngine &engine() { return engine_; }
    MathLibrary &library() { return library_; }

    /// The number of the last failed evaluation, 0 for none.
    std::int32_t lastErrorNumber() const { return lastErrorNumber_; }
    void clearLastErrorNumber() { lastErrorNumber_ = 0; }

    /// How many engine errors the observer has been given so far.
    std::uint64_t errorsObserved() const { return errorsObserved_; }

    /// Passes an error to the observer as if this context's engine had met
    /// it: a worker's error, reported when the run reaches it.
    void reportError(const ScriptError &error);

    /// A context whose engine holds the same script variables with the same
    /// values and whose library has the same members, sharing nothing with
    /// this one: a worker thread computes with it. Its observer is unset.
    std::unique_ptr<ScriptContext> copy() const;

private:
    // The library first: the engine refers to it and goes before it.
    MathLibrary library_;
    ScriptEngine engine_;
    ErrorObserver observer_;
    std::int32_t lastErrorNumber_ = 0;
    std::uint64_t errorsObserved_ = 0;

    struct Bare {};
    explicit ScriptContext(Bare);
    void connect();
};

}  // namespace zl
