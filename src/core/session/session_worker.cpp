#include "core/session/session_worker.h"

namespace zl {

SessionWorker::SessionWorker(ScriptContext &context, const ProblemState &problem)
    : session_(context), problem_(problem), context_(context.copy()),
      evaluator_(context_->engine(), context_->library(), problem_) {
    // In a run only an error outside the recoverable numbers is reported, and
    // it is the worker's last: it ends the run.
    context_->setErrorObserver([this](const ScriptError &error) {
        if (!isRecoverableError(error.number) && !fatalError_) fatalError_ = error;
    });
    evaluator_.compileResiduals();
}

std::function<void()> SessionWorker::takeFatalErrorReport() {
    if (!fatalError_) return {};
    std::function<void()> report = [&session = session_, error = *fatalError_] { session.reportError(error); };
    fatalError_.reset();
    return report;
}

}  // namespace zl
