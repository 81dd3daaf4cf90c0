#pragma once
// Test doubles for the solver: residuals as native functions that can fail at
// chosen points, and the list that records what it is told.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "../../support/recording_list.h"
#include "core/problem/problem_state.h"
#include "core/problem/residual_system.h"
#include "core/solver/compute.h"
#include "core/solver/run_worker.h"

namespace zl::testing {

using Point = std::vector<double>;

/// Exact equality, NaN equal to NaN.
inline bool sameValues(const Point &a, const Point &b) {
    return std::ranges::equal(a, b, [](double x, double y) { return x == y || (std::isnan(x) && std::isnan(y)); });
}

class NativeResiduals : public ResidualSystem {
public:
    using Function = std::function<double(const Point &)>;
    /// Error number to return for (equation, point), or 0 to evaluate normally.
    using FailureRule = std::function<std::int32_t(int equation, const Point &)>;

    explicit NativeResiduals(std::vector<Function> functions, FailureRule failure = {})
        : functions_(std::move(functions)), failure_(std::move(failure)) {}

    std::int32_t evaluate(int equation, const double *point, double &value) override {
        Point at(point, point + functions_.size());
        evaluations.push_back({equation, at});
        if (const std::int32_t number = failure_ ? failure_(equation, at) : 0) return number;
        value = functions_[static_cast<std::size_t>(equation)](at);
        return 0;
    }

    /// With `quiet` set, also evaluates many points per call without
    /// recording them, as the expression engine does.
    int evaluateMany(int count, const double *points, int pointCount, double *values) override {
        if (!quiet) return -1;
        for (int k = 0; k < pointCount; ++k, points += count, values += count) {
            const Point at(points, points + count);
            for (int j = 0; j < count; ++j) {
                if ((failure_ && failure_(j, at) != 0)) return k;
                values[j] = functions_[static_cast<std::size_t>(j)](at);
                if (!std::isfinite(values[j])) return k;
            }
            ++quietPoints;
        }
        return pointCount;
    }
    bool quiet = false;
    int quietPoints = 0;

    /// Points in the order evaluated, consecutive repeats (NaN included) merged.
    std::vector<Point> pointsVisited() const {
        std::vector<Point> visited;
        for (const auto &e : evaluations)
            if (visited.empty() || !sameValues(visited.back(), e.point)) visited.push_back(e.point);
        return visited;
    }

    struct Evaluation {
        int equation;
        Point point;
    };
    std::vector<Evaluation> evaluations;

private:
    std::vector<Function> functions_;
    FailureRule failure_;
};

/// A worker of a parallel run with its own copies of the problem and the residuals.
struct NativeWorker : RunWorker {
    NativeWorker(const ProblemState &problem, const NativeResiduals &residuals)
        : ownProblem(problem), ownResiduals(residuals) {}
    ProblemState &problem() override { return ownProblem; }
    ResidualSystem &residuals() override { return ownResiduals; }
    std::function<void()> takeFatalErrorReport() override { return {}; }
    ProblemState ownProblem;
    NativeResiduals ownResiduals;
};

/// Workers copied from the run's own problem and residuals (copied when made).
inline ParallelRun nativeParallel(const ProblemState &problem, const NativeResiduals &residuals) {
    return {[&problem, &residuals] { return std::make_unique<NativeWorker>(problem, residuals); }};
}

/// An Explore walk's visitor that goes on at every sign change without a seed:
/// the walk then visits every node once.
struct WalkWithoutSeeds {
    void visitNode() {}
    void referenceFound(const std::int32_t *) {}
    bool startSeed() { return true; }
};

struct Interval {
    double lower, upper;
    std::int32_t subintervals;
};

/// Variables named x1, x2, ...; the last interval given serves the rest.
inline ProblemState makeProblem(int order, const std::vector<Interval> &intervals, double maxError = 1e-9,
                                std::int32_t maxCycles = 20) {
    ProblemState problem;
    problem.sizeProblem(order);
    for (int i = 0; i < order; ++i) {
        const Interval &interval = intervals[std::min<std::size_t>(i, intervals.size() - 1)];
        problem.record.varNames[i] = order == 1 ? "x" : "x" + std::to_string(i + 1);
        problem.record.lowerLimits[i] = interval.lower;
        problem.record.upperLimits[i] = interval.upper;
        problem.record.subintervals[i] = interval.subintervals;
    }
    problem.record.maxError = maxError;
    problem.record.maxCycles = maxCycles;
    return problem;
}

}  // namespace zl::testing
