// The whole Explore run of x^2+y^2+z^2=1, x=y, sin(3*z)=x*y over [-2, 2]^3
// (the perf3 problem: 200 subintervals a variable, 8 million nodes), twice:
// hand-written C++ of the same algorithm for this one problem (fixed order,
// residuals inlined, no interfaces), and the typed equations through the
// expression engine and the solver as the command line runs them. The engine
// run reports its time as a multiple of the native one ("vs_native").

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "core/problem/problem_state.h"
#include "core/session/session.h"
#include "core/solver/solution_list_view.h"
#include "discarding_list.h"

namespace {

constexpr int kOrder = 3;
constexpr double kLimit = 2;
constexpr double kMaxError = 0.01;
constexpr int kMaxCycles = 8;
constexpr double kDifferenceStep = 0.004;
constexpr double kDifferenceSpan = 0.008;

using Point = std::array<double, kOrder>;

double residual(int equation, const Point &p) {
    const double x = p[0], y = p[1], z = p[2];
    switch (equation) {
    case 0:
        return std::pow(x, 2) + std::pow(y, 2) + std::pow(z, 2) - (1);
    case 1:
        return x - (y);
    default:
        return std::sin(3 * z) - (x * y);
    }
}

/// Grid walk along the last variable with an odometer carry, Newton from
/// every node where a residual's sign changes (central differences, Gaussian
/// elimination with partial pivoting), up to 100 distinct solutions. Only the
/// flags behind the problems report are left out.
class NativeExplore {
public:
    explicit NativeExplore(int subintervals) {
        for (int i = 0; i < kOrder; ++i) step_[i] = 2 * kLimit / subintervals;
    }

    std::size_t run() {
        constexpr int last = kOrder - 1;
        point_.fill(-kLimit);
        for (;;) {
            if (walkLine()) return solutions_.size();
            point_[last] = -kLimit;
            int digit = last - 1;
            for (;; --digit) {
                if (digit < 0) return solutions_.size();
                if (point_[digit] < kLimit) {
                    point_[digit] += step_[digit];
                    break;
                }
                if (digit == 0) return solutions_.size();
                point_[digit] = -kLimit;
            }
        }
    }

private:
    using Signs = std::array<int, kOrder>;

    /// True when the store filled up and the run must end.
    bool walkLine() {
        constexpr int last = kOrder - 1;
        while (!signs(previous_)) {
            if (point_[last] >= kLimit) return false;
            point_[last] += step_[last];
        }
        while (point_[last] < kLimit) {
            point_[last] += step_[last];
            if (!signs(current_)) continue;
            if (current_ != previous_) {
                newton();
                if (full_) return true;
                point_ = seed_;
            }
            previous_ = current_;
        }
        return false;
    }

    bool evaluate(int equation, double &value) {
        const double v = residual(equation, point_);
        if (!std::isfinite(v)) {
            failed_ = true;
            return false;
        }
        value = v;
        return true;
    }

    bool signs(Signs &out) {
        failed_ = false;
        for (int j = 0; j < kOrder; ++j) {
            double v = 0;
            if (evaluate(j, v)) out[j] = (v > 0) - (v < 0);
        }
        return !failed_;
    }

    void newton() {
        seed_ = point_;
        for (int cycles = 1;; ++cycles) {
            for (int i = 0; i < kOrder; ++i) {
                const double saved = point_[i];
                point_[i] = saved - kDifferenceStep;
                failed_ = false;
                for (int j = 0; j < kOrder; ++j) evaluate(j, a_[j][i]);
                if (failed_) return;
                point_[i] = saved + kDifferenceStep;
                for (int j = 0; j < kOrder; ++j) {
                    double v = 0;
                    if (evaluate(j, v)) a_[j][i] = (v - a_[j][i]) / kDifferenceSpan;
                }
                if (failed_) return;
                point_[i] = saved;
            }
            failed_ = false;
            for (int j = 0; j < kOrder; ++j) {
                double v = 0;
                if (evaluate(j, v)) a_[j][kOrder] = -v;
            }
            if (failed_ || !solve()) return;
            bool converged = true;
            for (int j = 0; j < kOrder; ++j) {
                point_[j] += correction_[j];
                if (std::fabs(correction_[j]) > kMaxError) converged = false;
            }
            if (converged) {
                for (int j = 0; j < kOrder; ++j) evaluate(j, a_[j][0]);
                for (int j = 0; j < kOrder; ++j)
                    if (std::fabs(a_[j][0]) > kMaxError) converged = false;
            }
            if (converged) return accept();
            if (cycles >= kMaxCycles) return;
        }
    }

    /// Elimination with partial pivoting; false for a singular matrix.
    bool solve() {
        for (int k = 0; k < kOrder - 1; ++k) {
            int pivot = k;
            for (int r = k + 1; r < kOrder; ++r)
                if (std::fabs(a_[r][k]) > std::fabs(a_[pivot][k])) pivot = r;
            if (a_[pivot][k] == 0) continue;
            if (pivot != k) std::swap(a_[k], a_[pivot]);
            for (int r = k + 1; r < kOrder; ++r) {
                const double factor = a_[r][k] / a_[k][k];
                for (int c = k; c <= kOrder; ++c) a_[r][c] -= factor * a_[k][c];
            }
        }
        for (int r = kOrder - 1; r >= 0; --r) {
            if (a_[r][r] == 0) return false;
            double sum = 0;
            for (int c = r + 1; c < kOrder; ++c) sum += a_[r][c] * correction_[c];
            correction_[r] = (a_[r][kOrder] - sum) / a_[r][r];
        }
        return true;
    }

    void accept() {
        for (const Point &s : solutions_) {
            bool same = true;
            for (int i = 0; i < kOrder && same; ++i) same = std::fabs(point_[i] - s[i]) <= kMaxError;
            if (same) return;
        }
        if (solutions_.size() == 100) {
            full_ = true;
            return;
        }
        solutions_.push_back(point_);
    }

    Point point_{}, seed_{}, correction_{}, step_{};
    Signs previous_{}, current_{};
    std::array<std::array<double, kOrder + 1>, kOrder> a_{};
    std::vector<Point> solutions_;
    bool failed_ = false;
    bool full_ = false;
};

using zl::bench::DiscardingList;

/// Processor seconds of the native run per iteration, for the engine's ratio.
double nativeSecondsPerRun = 0;

double processorSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

void BM_ExploreNativeCode(benchmark::State &state) {
    std::size_t solutions = 0;
    const double start = processorSeconds();
    for (auto _ : state) {
        NativeExplore explore(static_cast<int>(state.range(0)));
        solutions = explore.run();
        benchmark::DoNotOptimize(solutions);
    }
    nativeSecondsPerRun = (processorSeconds() - start) / static_cast<double>(state.iterations());
    state.counters["solutions"] = static_cast<double>(solutions);
}
BENCHMARK(BM_ExploreNativeCode)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_ExploreEngine(benchmark::State &state) {
    const std::string subintervals = std::to_string(state.range(0));
    zl::Session session;
    zl::ProblemState &problem = session.problem();
    problem.sizeProblem(kOrder);
    problem.record.varNames = {"x", "y", "z"};
    zl::ProblemFieldTexts fields;
    fields.equations = {"x^2+y^2+z^2=1", "x=y", "sin(3*z)=x*y"};
    fields.lowerLimits.assign(kOrder, "-2");
    fields.upperLimits.assign(kOrder, "2");
    fields.subintervals.assign(kOrder, subintervals);
    fields.errorBound = "0.01";
    fields.iterations = "8";
    // As a run from the command line or the window prepares it, the declaration included.
    if (const auto failure = session.prepareRun(zl::RunKind::Explore, {}, fields)) {
        state.SkipWithError(failure->description.c_str());
        return;
    }
    DiscardingList list;
    const double start = processorSeconds();
    for (auto _ : state) {
        problem.store.solutionCount = 0;
        benchmark::DoNotOptimize(session.explore(list));  // one thread
    }
    const double seconds = (processorSeconds() - start) / static_cast<double>(state.iterations());
    state.counters["solutions"] = problem.store.solutionCount;
    if (nativeSecondsPerRun > 0) state.counters["vs_native"] = seconds / nativeSecondsPerRun;
}
BENCHMARK(BM_ExploreEngine)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace
