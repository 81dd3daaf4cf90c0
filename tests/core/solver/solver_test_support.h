#pragma once
// Test doubles for the solver: residuals given as native functions that can be
// made to fail at chosen points, and a list that records what it is told.

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/problem/problem_state.h"
#include "core/solver/residual_system.h"
#include "core/solver/solution_list_view.h"

namespace zl::testing {

using Point = std::vector<double>;

class NativeResiduals : public ResidualSystem {
public:
    using Function = std::function<double(const Point &)>;
    /// Error number to return for (equation, point), or 0 to evaluate normally.
    using FailureRule = std::function<std::int32_t(int equation, const Point &)>;

    explicit NativeResiduals(std::vector<Function> functions) : functions_(std::move(functions)) {}

    void failWhere(FailureRule rule) { failure_ = std::move(rule); }

    std::int32_t evaluate(int equation, const double *point, double &value) override {
        Point at(point, point + functions_.size());
        evaluations.push_back({equation, at});
        if (failure_) {
            if (const std::int32_t number = failure_(equation, at)) return number;
        }
        value = functions_[static_cast<std::size_t>(equation)](at);
        return 0;
    }

    struct Evaluation {
        int equation;
        Point point;
    };
    std::vector<Evaluation> evaluations;

    /// Distinct points in the order first evaluated, one entry per run of equal points.
    std::vector<Point> pointsVisited() const {
        std::vector<Point> visited;
        for (const auto &e : evaluations)
            if (visited.empty() || !samePoint(visited.back(), e.point)) visited.push_back(e.point);
        return visited;
    }

    /// Equal coordinates, NaN counting as equal to NaN.
    static bool samePoint(const Point &a, const Point &b) {
        for (std::size_t i = 0; i < a.size(); ++i)
            if (!(a[i] == b[i] || (std::isnan(a[i]) && std::isnan(b[i])))) return false;
        return a.size() == b.size();
    }

private:
    std::vector<Function> functions_;
    FailureRule failure_;
};

/// Records lines, and "<yield>" / "<clear>" markers in `events`.
class RecordingList : public SolutionListView {
public:
    void appendLine(const std::string &line) override {
        lines.push_back(line);
        events.push_back(line);
    }
    void clearLines() override {
        lines.clear();
        events.emplace_back("<clear>");
    }
    void setCountText(const std::string &text) override { countText = text; }
    void yieldToWindow() override { events.emplace_back("<yield>"); }

    std::vector<std::string> lines;
    std::vector<std::string> events;
    std::string countText = "unset";
};

struct Interval {
    double lower;
    double upper;
    std::int32_t subintervals;
};

inline ProblemState makeProblem(const std::vector<std::string> &names,
                                const std::vector<Interval> &intervals, double maxError = 1e-6,
                                std::int32_t maxCycles = 20) {
    ProblemState problem;
    problem.sizeProblem(static_cast<std::int32_t>(names.size()));
    problem.spec.varNames = names;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const Interval &interval = intervals[i < intervals.size() ? i : intervals.size() - 1];
        problem.spec.lowerLimits[i] = interval.lower;
        problem.spec.upperLimits[i] = interval.upper;
        problem.spec.subintervals[i] = interval.subintervals;
    }
    problem.spec.maxError = maxError;
    problem.spec.maxCycles = maxCycles;
    return problem;
}

} // namespace zl::testing
