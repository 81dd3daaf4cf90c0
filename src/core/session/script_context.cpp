#include "core/session/script_context.h"

#include <cassert>

namespace zl {

ScriptContext::ScriptContext(Bare) { connect(); }

ScriptContext::ScriptContext() : ScriptContext(Bare{}) {
    for (std::string_view statement : kStartupStatements) {
        [[maybe_unused]] const auto error = engine_.executeStatement(statement);
        assert(!error && "the start-up statements are fixed texts the engine runs");
    }
}

void ScriptContext::connect() {
    library_.setOwnerErrorNumber(&lastErrorNumber_);
    engine_.addMathLibrary(library_);
    engine_.setErrorObserver([this](const ScriptError &error) { reportError(error); });
}

void ScriptContext::reportError(const ScriptError &error) {
    lastErrorNumber_ = error.number;
    ++errorsObserved_;
    if (observer_) observer_(error);
}

std::unique_ptr<ScriptContext> ScriptContext::copy() const {
    std::unique_ptr<ScriptContext> copy(new ScriptContext(Bare{}));
    MathLibrary &library = copy->library_;
    library.pi = library_.pi;
    library.halfpi = library_.halfpi;
    library.e = library_.e;
    library.x = library_.x;
    library.ierr = library_.ierr;
    copy->engine_.copyVariablesFrom(engine_);
    copy->lastErrorNumber_ = lastErrorNumber_;
    return copy;
}

}  // namespace zl
