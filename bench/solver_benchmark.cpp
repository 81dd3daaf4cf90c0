// A whole Explore run of x^2+y^2+z^2=1, x=y, sin(3*z)=x*y over [-2, 2]^3 with 40
// subintervals per variable: once with native residuals, once with the typed
// equations through the expression engine, on one thread and on more. All
// drive the same solver code.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/problem/problem_state.h"
#include "core/problem/residual_system.h"
#include "core/session/session.h"
#include "core/solver/compute.h"
#include "core/solver/solution_list_view.h"
#include "discarding_list.h"

namespace {

using zl::bench::DiscardingList;

class NativeSphereSystem : public zl::ResidualSystem {
public:
    std::int32_t evaluate(int equation, const double *p, double &value) override {
        ++evaluations;
        const double x = p[0], y = p[1], z = p[2];
        switch (equation) {
        case 0:
            value = x * x + y * y + z * z - 1;
            break;
        case 1:
            value = x - y;
            break;
        default:
            value = std::sin(3 * z) - x * y;
            break;
        }
        return 0;
    }

    std::int64_t evaluations = 0;
};

void defineProblem(zl::ProblemState &problem) {
    problem.sizeProblem(3);
    problem.record.varNames = {"x", "y", "z"};
    for (int i = 0; i < 3; ++i) {
        problem.record.lowerLimits[i] = -2;
        problem.record.upperLimits[i] = 2;
        problem.record.subintervals[i] = 40;
    }
    problem.record.maxError = 0.0001;
    problem.record.maxCycles = 8;
}

void exploreRun(benchmark::State &state, zl::ProblemState &problem, zl::ResidualSystem &residuals) {
    DiscardingList list;
    for (auto _ : state) {
        problem.store.solutionCount = 0;
        const zl::RunSummary summary = zl::runExplore(problem, residuals, list);
        benchmark::DoNotOptimize(summary);
    }
    state.counters["solutions"] = problem.store.solutionCount;
}

void BM_ExploreNative(benchmark::State &state) {
    zl::ProblemState problem;
    defineProblem(problem);
    NativeSphereSystem residuals;
    exploreRun(state, problem, residuals);
    state.counters["evaluations_per_run"] =
        static_cast<double>(residuals.evaluations) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ExploreNative)->Unit(benchmark::kMillisecond);

/// The typed equations through a session; the argument is the thread count.
void BM_ExploreEngine(benchmark::State &state) {
    zl::Session session;
    defineProblem(session.problem());
    zl::ProblemFieldTexts fields;
    fields.equations = {"x^2+y^2+z^2=1", "x=y", "sin(3*z)=x*y"};
    fields.lowerLimits.assign(3, "-2");
    fields.upperLimits.assign(3, "2");
    fields.subintervals.assign(3, "40");
    fields.errorBound = "0.0001";
    fields.iterations = "8";
    if (const auto failure = session.prepareRun(zl::RunKind::Explore, {}, fields)) {
        state.SkipWithError(failure->description.c_str());
        return;
    }
    DiscardingList list;
    zl::RunOptions options;
    options.threads = static_cast<int>(state.range(0));
    for (auto _ : state) {
        session.problem().store.solutionCount = 0;
        const zl::RunSummary summary = session.explore(list, options);
        benchmark::DoNotOptimize(summary);
    }
    state.counters["solutions"] = session.problem().store.solutionCount;
}
BENCHMARK(BM_ExploreEngine)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
