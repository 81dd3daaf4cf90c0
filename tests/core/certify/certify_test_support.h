#pragma once
// A typed problem prepared as a run prepares it, for the certification tests,
// and a solution list that keeps its lines.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../support/recording_list.h"
#include "core/eval/interval_compiler.h"
#include "core/session/session.h"
#include "core/solver/solution_list_view.h"

namespace zl::testing {

struct TypedProblem {
    Session session;
    ScriptEngine &engine = session.engine();
    ProblemState &problem = session.problem();
    EquationEvaluator &evaluator = session.evaluator();

    /// Every variable searched over [lower, upper].
    TypedProblem(const std::vector<std::string> &names, const std::vector<std::string> &equations,
                 const std::string &lower, const std::string &upper, const std::vector<std::string> &constants = {}) {
        problem.sizeProblem(static_cast<std::int32_t>(names.size()));
        problem.record.varNames = names;
        using Texts = std::vector<std::string>;
        const std::size_t n = names.size();
        EXPECT_FALSE(session.prepareRun(RunKind::Certify, constants,
                                        {"1E-10", "30", Texts(n, lower), Texts(n, upper), Texts(n, "4"), equations}));
    }

    IntervalProgram program() {
        IntervalCompilation compiled = compileIntervalSystem(engine, problem.record);
        EXPECT_TRUE(compiled.program) << compiled.reason;
        return compiled.program ? std::move(*compiled.program) : IntervalProgram{};
    }
};

}  // namespace zl::testing
