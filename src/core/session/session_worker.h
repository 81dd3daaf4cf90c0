#pragma once
// A worker of a session's parallel run: a copy of the session's engine (same
// variables and constants, same library members), a copy of its problem, and
// an equation evaluator compiled for them. A fatal script error the worker
// meets is kept, and reported through the session when the merge reaches it.

#include <functional>
#include <memory>
#include <optional>

#include "core/eval/equation_evaluator.h"
#include "core/problem/problem_state.h"
#include "core/session/script_context.h"
#include "core/solver/run_worker.h"

namespace zl {

class SessionWorker : public RunWorker {
public:
    /// Copies `context` and `problem`; called on the thread that owns them.
    SessionWorker(ScriptContext &context, const ProblemState &problem);

    ProblemState &problem() override { return problem_; }
    ResidualSystem &residuals() override { return evaluator_; }
    std::function<void()> takeFatalErrorReport() override;

private:
    ScriptContext &session_;
    ProblemState problem_;
    std::unique_ptr<ScriptContext> context_;
    EquationEvaluator evaluator_;
    std::optional<ScriptError> fatalError_;
};

}  // namespace zl
