// Nanoseconds per residual evaluation through EquationEvaluator::evaluate,
// the solver's hot path, beside native C++ of the same arithmetic.
//
// Each engine benchmark has two baselines: the formula as a lambda called
// directly in the same loop (the compiler may inline it), and the same
// lambda behind the ResidualSystem interface the solver calls (a virtual
// call per evaluation, as for the engine).

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

#include "core/session/session.h"

namespace {

using Point = std::array<double, 3>;

/// The math library's Tanh arithmetic: both exponentials, then
/// -2 exp(-v) / (exp(v) + exp(-v)) + 1.
inline double libraryTanh(double v) {
    const double up = std::exp(v);
    const double down = std::exp(-v);
    if (!std::isfinite(up) || !std::isfinite(down)) return 0;
    return (-2 * down) / (up + down) + 1;
}

constexpr double kPi = 3.14159265358979323846;

struct Formula {
    const char *residual;
    double (*native)(const double *p);
};

const Formula kFormulas[] = {
    {"3*x^2*sin(x)-(pi)", [](const double *p) { return 3 * (p[0] * p[0]) * std::sin(p[0]) - kPi; }},
    {"x^2+y^2+z^2-(1)", [](const double *p) { return p[0] * p[0] + p[1] * p[1] + p[2] * p[2] - 1; }},
    {"exp(x*y)-cos(z)+log(1+x^2)-(0.5)",
     [](const double *p) { return std::exp(p[0] * p[1]) - std::cos(p[2]) + std::log(1 + p[0] * p[0]) - 0.5; }},
    {"sin(x)*cos(y)+x^3-3*x*y^2+sqr(abs(z)+1)-tanh(x-z)-(2.5)",
     [](const double *p) {
         return std::sin(p[0]) * std::cos(p[1]) + p[0] * p[0] * p[0] - 3 * p[0] * (p[1] * p[1]) +
                std::sqrt(std::fabs(p[2]) + 1) - libraryTanh(p[0] - p[2]) - 2.5;
     }},
};

/// Points spread over [-2, 2]^3, cycled through so that nothing is constant.
const std::vector<Point> &samplePoints() {
    static const std::vector<Point> points = [] {
        std::mt19937_64 random(7);
        std::uniform_real_distribution<double> coordinate(-2, 2);
        std::vector<Point> result(1024);
        for (Point &p : result) p = {coordinate(random), coordinate(random), coordinate(random)};
        return result;
    }();
    return points;
}

/// A problem in x, y, z whose residuals are the given texts, compiled as a run does.
class EngineSystem {
public:
    explicit EngineSystem(const std::vector<std::string> &residuals) {
        session_.problem().sizeProblem(3);
        session_.problem().record.varNames = {"x", "y", "z"};
        session_.problem().record.residuals = residuals;
        session_.evaluator().compileResiduals();
    }
    zl::ResidualSystem &system() { return session_.evaluator(); }

private:
    zl::Session session_;
};

/// The native formulas behind the solver's interface.
class NativeSystem : public zl::ResidualSystem {
public:
    explicit NativeSystem(std::vector<double (*)(const double *)> residuals) : residuals_(std::move(residuals)) {}
    std::int32_t evaluate(int equation, const double *point, double &value) override {
        value = residuals_[static_cast<std::size_t>(equation)](point);
        return 0;
    }

private:
    std::vector<double (*)(const double *)> residuals_;
};

void runThroughInterface(benchmark::State &state, zl::ResidualSystem &system) {
    zl::ResidualSystem *hidden = &system;
    benchmark::DoNotOptimize(hidden);  // no devirtualisation
    const std::vector<Point> &points = samplePoints();
    std::size_t next = 0;
    for (auto _ : state) {
        double value = 0;
        const std::int32_t status = hidden->evaluate(0, points[next++ & 1023].data(), value);
        benchmark::DoNotOptimize(status);
        benchmark::DoNotOptimize(value);
    }
}

void BM_Engine(benchmark::State &state, int formula) {
    EngineSystem engine({kFormulas[formula].residual, "x", "y"});
    runThroughInterface(state, engine.system());
}

void BM_NativeInterface(benchmark::State &state, int formula) {
    NativeSystem native({kFormulas[formula].native});
    runThroughInterface(state, native);
}

template <int formula>
void BM_NativeInline(benchmark::State &state) {
    const std::vector<Point> &points = samplePoints();
    std::size_t next = 0;
    for (auto _ : state) {
        double value = kFormulas[formula].native(points[next++ & 1023].data());
        benchmark::DoNotOptimize(value);
    }
}

template <typename EvaluateNode>
void walkGridNodes(benchmark::State &state, EvaluateNode evaluateNode);

/// Grid of 60 x 60 x 60 nodes over [-2, 2]^3; at each node the residuals
/// 2, 3 and 4 are evaluated. `evaluate(j, point)` gives residual j.
template <typename Evaluate>
void walkGrid(benchmark::State &state, Evaluate evaluate) {
    walkGridNodes(state, [&evaluate](const double *p) {
        double sum = 0;
        for (int r = 0; r < 3; ++r) sum += evaluate(r, p);
        return sum;
    });
}

/// The grid through the solver's interface, one call per residual.
void walkGridOneAtATime(benchmark::State &state, zl::ResidualSystem &system) {
    zl::ResidualSystem *hidden = &system;
    benchmark::DoNotOptimize(hidden);  // no devirtualisation
    walkGrid(state, [hidden](int r, const double *p) {
        double value = 0;
        hidden->evaluate(r, p, value);
        return value;
    });
}

/// The same grid with all three residuals evaluated at each node in one
/// call, as the solver's grid walk and Jacobian do.
void walkGridAllResiduals(benchmark::State &state, zl::ResidualSystem &system) {
    zl::ResidualSystem *hidden = &system;
    benchmark::DoNotOptimize(hidden);
    walkGridNodes(state, [hidden](const double *p) {
        double values[3] = {0, 0, 0};
        std::int32_t statuses[3];
        hidden->evaluateAll(3, p, values, statuses);
        return values[0] + values[1] + values[2];
    });
}

template <typename EvaluateNode>
void walkGridNodes(benchmark::State &state, EvaluateNode evaluateNode) {
    constexpr int kNodes = 60;
    const double step = 4.0 / (kNodes - 1);
    for (auto _ : state) {
        double sum = 0;
        Point point{};
        for (int i = 0; i < kNodes; ++i) {
            point[0] = -2 + i * step;
            for (int j = 0; j < kNodes; ++j) {
                point[1] = -2 + j * step;
                for (int k = 0; k < kNodes; ++k) {
                    point[2] = -2 + k * step;
                    sum += evaluateNode(point.data());
                }
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["ns/eval"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kNodes * kNodes * kNodes * 3,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_GridEngine(benchmark::State &state) {
    EngineSystem engine({kFormulas[1].residual, kFormulas[2].residual, kFormulas[3].residual});
    walkGridOneAtATime(state, engine.system());
}

void BM_GridNativeInline(benchmark::State &state) {
    walkGrid(state, [](int r, const double *p) { return kFormulas[r + 1].native(p); });
}

void BM_GridNativeInterface(benchmark::State &state) {
    NativeSystem native({kFormulas[1].native, kFormulas[2].native, kFormulas[3].native});
    walkGridOneAtATime(state, native);
}

void BM_GridEngineAllResiduals(benchmark::State &state) {
    EngineSystem engine({kFormulas[1].residual, kFormulas[2].residual, kFormulas[3].residual});
    walkGridAllResiduals(state, engine.system());
}

void BM_GridNativeInterfaceAllResiduals(benchmark::State &state) {
    NativeSystem native({kFormulas[1].native, kFormulas[2].native, kFormulas[3].native});
    walkGridAllResiduals(state, native);
}

BENCHMARK_CAPTURE(BM_Engine, f1_3x2sinx, 0);
BENCHMARK(BM_NativeInline<0>)->Name("BM_NativeInline/f1_3x2sinx");
BENCHMARK_CAPTURE(BM_NativeInterface, f1_3x2sinx, 0);
BENCHMARK_CAPTURE(BM_Engine, f2_sphere, 1);
BENCHMARK(BM_NativeInline<1>)->Name("BM_NativeInline/f2_sphere");
BENCHMARK_CAPTURE(BM_NativeInterface, f2_sphere, 1);
BENCHMARK_CAPTURE(BM_Engine, f3_exp_cos_log, 2);
BENCHMARK(BM_NativeInline<2>)->Name("BM_NativeInline/f3_exp_cos_log");
BENCHMARK_CAPTURE(BM_NativeInterface, f3_exp_cos_log, 2);
BENCHMARK_CAPTURE(BM_Engine, f4_mixed_tanh, 3);
BENCHMARK(BM_NativeInline<3>)->Name("BM_NativeInline/f4_mixed_tanh");
BENCHMARK_CAPTURE(BM_NativeInterface, f4_mixed_tanh, 3);
BENCHMARK(BM_GridEngine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridNativeInline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridNativeInterface)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridEngineAllResiduals)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridNativeInterfaceAllResiduals)->Unit(benchmark::kMillisecond);

}  // namespace
