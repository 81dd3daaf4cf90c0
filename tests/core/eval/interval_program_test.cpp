// Interval programs against the numeric programs: on random expressions and
// random boxes, every value the engine computes at a point of the box lies in
// the interval enclosure, every slope between two points lies in the
// derivative enclosure, and the enclosure narrows as the box does.

#include <gtest/gtest.h>

#include "core/eval/compiled_expression.h"
#include "core/eval/interval_compiler.h"
#include "core/eval/parser.h"
#include "core/eval/script_engine_impl.h"
#include "random_expressions.h"
#include "script_session.h"

namespace zl {
namespace {

using Point = std::array<double, 3>;

class IntervalEnclosure : public ::testing::Test {
protected:
    IntervalEnclosure() {
        session_.run("k = 2.5");
        for (const char *name : {"x", "y", "z"}) {
            const NameBinding binding = scope().resolve(name);
            variables_.push_back(binding.kind == NameKind::Variable ? binding.global
                                                                    : &scope().globals().declare(name));
        }
    }

    NameScope &scope() { return engineScope(session_.engine); }

    IntervalCompilation compile(const std::string &text) {
        const ParseResult parsed = parseExpression(text);
        EXPECT_TRUE(parsed.ok()) << text;
        return compileIntervalProgram({parsed.tree}, scope(), variables_);
    }

    /// The engine's value at a point, or nothing where it fails.
    std::optional<double> numeric(const CompiledExpression &expression, const Point &point) {
        for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(scope().globals().assignNumber(*variables_[i], point[i]), 0);
        std::vector<double> stack(stackSlots(expression));
        session_.library.ierr = 0;
        double value = 0;
        RuntimeFailure failure;
        const std::int32_t number = evaluateToNumber(expression, scope(), stack.data(), value, failure);
        lastError_ = number ? number : session_.library.ierr;
        if (lastError_) return std::nullopt;
        return value;
    }

    /// Encloses the program's one residual (and its derivatives) over `box`.
    bool enclose(const IntervalProgram &program, const std::array<Interval, 3> &box, Interval &value,
                 std::array<Interval, 3> &slopes) {
        workspace_.prepare(program);
        if (!evaluateIntervals(program, box.data(), workspace_)) return false;
        const auto root = static_cast<std::size_t>(program.roots[0]);
        value = workspace_.values[root];
        evaluateJacobian(program, workspace_, slopes.data());
        return true;
    }

    double pointWidth(const IntervalProgram &program, const Point &point) {
        Interval value;
        std::array<Interval, 3> slopes;
        IntervalWorkspace saved = workspace_;
        enclose(program, {Interval(point[0]), Interval(point[1]), Interval(point[2])}, value, slopes);
        workspace_ = saved;
        return value.width();
    }

    zl::testing::ScriptSession session_;
    std::vector<Global *> variables_;
    IntervalWorkspace workspace_;
    std::int32_t lastError_ = 0;
};

std::array<Interval, 3> boxAround(const Point &center, double radius) {
    std::array<Interval, 3> box;
    for (std::size_t i = 0; i < 3; ++i) box[i] = {center[i] - radius, center[i] + radius};
    return box;
}

/// Corners, the center and random points of the box.
std::vector<Point> samples(const std::array<Interval, 3> &box, zl::testing::RandomExpressions &random) {
    std::vector<Point> points;
    for (int corner = 0; corner < 8; ++corner)
        points.push_back({(corner & 1) ? box[0].hi : box[0].lo, (corner & 2) ? box[1].hi : box[1].lo,
                          (corner & 4) ? box[2].hi : box[2].lo});
    points.push_back({box[0].mid(), box[1].mid(), box[2].mid()});
    for (int k = 0; k < 16; ++k)
        points.push_back({random.uniform(box[0].lo, box[0].hi), random.uniform(box[1].lo, box[1].hi),
                          random.uniform(box[2].lo, box[2].hi)});
    return points;
}

TEST_F(IntervalEnclosure, EveryPointValueLiesInTheEnclosureAndEverySlopeInTheDerivatives) {
    zl::testing::RandomExpressions random(20250611);
    int containments = 0;
    int slopesChecked = 0;
    int emptyBoxes = 0;
    for (int e = 0; e < 1500; ++e) {
        const std::string text = random.expression(3);
        const IntervalCompilation compiled = compile(text);
        ASSERT_TRUE(compiled.program) << text << ": " << compiled.reason;
        const ParseResult parsed = parseExpression(text);
        const CompiledExpression expression = compileExpression(parsed.tree, parsed.tree->root, scope());
        for (int b = 0; b < 6; ++b) {
            const Point center{random.uniform(-3, 3), random.uniform(-3, 3), random.uniform(-3, 3)};
            const std::array<Interval, 3> box = boxAround(center, std::pow(10.0, random.uniform(-6, 0.5)));
            Interval value;
            std::array<Interval, 3> slopes;
            const bool some = enclose(*compiled.program, box, value, slopes);
            const bool regular = some && workspace_.regular;
            emptyBoxes += some ? 0 : 1;
            std::vector<std::pair<Point, double>> computed;
            for (const Point &point : samples(box, random)) {
                const std::optional<double> v = numeric(expression, point);
                if (regular) {
                    ASSERT_TRUE(v || lastError_ == 6) << text << " fails with " << lastError_ << " in a regular box";
                }
                if (!v) continue;
                ASSERT_TRUE(some) << text << ": the enclosure is empty but the engine gives " << *v;
                ASSERT_TRUE(value.contains(*v))
                    << text << ": " << *v << " outside [" << value.lo << ", " << value.hi << "]";
                computed.emplace_back(point, *v);
                ++containments;
            }
            if (!regular) continue;
            // Mean-value slopes along one variable between the center and each corner.
            for (std::size_t c = 0; c + 1 < computed.size() && c < 8; ++c) {
                const auto &[p, fp] = computed[c];
                for (std::size_t k = 0; k < 3; ++k) {
                    Point q = p;
                    q[k] = box[k].mid();
                    const std::optional<double> fq = numeric(expression, q);
                    const double step = p[k] - q[k];
                    if (!fq || step == 0) continue;
                    const double slope = (fp - *fq) / step;
                    // Both values lie in their point enclosures, whose widths
                    // bound the engine's rounding there.
                    const double noise = (pointWidth(*compiled.program, p) + pointWidth(*compiled.program, q) +
                                          (std::fabs(fp) + std::fabs(*fq) + 1) * 1e-15) /
                                         std::fabs(step);
                    ASSERT_TRUE(slope >= slopes[k].lo - noise && slope <= slopes[k].hi + noise)
                        << text << ": slope " << slope << " along " << k << " outside [" << slopes[k].lo << ", "
                        << slopes[k].hi << "]";
                    ++slopesChecked;
                }
            }
        }
    }
    // The checks mean something only if each kind of case was common.
    EXPECT_GT(containments, 15000);
    EXPECT_GT(slopesChecked, 5000);
    EXPECT_GT(emptyBoxes, 50);
}

TEST_F(IntervalEnclosure, TheEnclosureNarrowsWithTheBox) {
    zl::testing::RandomExpressions random(77);
    int narrowed = 0;
    for (int e = 0; e < 1000; ++e) {
        const std::string text = random.expression(3);
        const IntervalCompilation compiled = compile(text);
        ASSERT_TRUE(compiled.program) << text;
        const Point center{random.uniform(-3, 3), random.uniform(-3, 3), random.uniform(-3, 3)};
        std::vector<Interval> enclosures;
        std::array<Interval, 3> slopes;
        double lastRadius = 1;
        for (double radius = 1; radius >= 1e-9; radius /= 16) {
            Interval value;
            lastRadius = radius;
            if (!enclose(*compiled.program, boxAround(center, radius), value, slopes)) break;
            if (!enclosures.empty()) {
                // A smaller box never gives a larger enclosure.
                const Interval &outer = enclosures.back();
                const double slack = 1e-12 * (1 + outer.magnitude());
                ASSERT_TRUE(value.lo >= outer.lo - slack && value.hi <= outer.hi + slack) << text << " at " << radius;
            }
            enclosures.push_back(value);
        }
        if (enclosures.size() < 8 || !workspace_.regular) continue;
        // Continuous there, so the enclosure shrinks in step with the box,
        // down to its width at the center point itself (the rounding).
        const Interval &last = enclosures.back();
        const Interval &before = enclosures[enclosures.size() - 2];
        double variation = 0;  // first-order change over the last box: small means the linear regime
        for (const Interval &slope : slopes) variation += slope.magnitude() * 2 * lastRadius;
        if (!before.isBounded() || !(variation < 1e-3)) continue;
        EXPECT_LE(last.width(), before.width() / 8 + 2 * pointWidth(*compiled.program, center)) << text;
        ++narrowed;
    }
    EXPECT_GT(narrowed, 250);
}

TEST_F(IntervalEnclosure, DomainsAndStepsDecideEmptinessAndRegularity) {
    const Interval any{0, 1};
    session_.run("halfpi = 2");
    const struct {
        const char *expression;
        std::array<Interval, 3> box;
        Interval expected;  ///< the enclosure, to three decimals
        bool empty;
        bool regular;
    } cases[] = {
        {"Sqr(x)", {Interval(-1, 4), any, any}, {0, 2}, false, false},
        {"Sqr(x)", {Interval(-3, -1), any, any}, {}, true, false},
        {"Log(x)", {Interval(-2, 0), any, any}, {}, true, false},
        {"Log(x)", {Interval(1, 2), any, any}, {0, 0.6932}, false, true},
        {"1 / x", {Interval(0, 0), any, any}, {}, true, false},
        {"x ^ 0.5", {Interval(-1, 4), any, any}, {0, 2}, false, false},
        {"x ^ y", {Interval(-2, -1), Interval(0.2, 0.8), any}, {}, true, false},
        {"Int(x)", {Interval(1.2, 1.8), any, any}, {1, 1}, false, true},
        {"Int(x)", {Interval(0.5, 1.5), any, any}, {0, 1}, false, false},
        {"x > 0", {Interval(1, 2), any, any}, {-1, -1}, false, true},
        {"x > 0", {Interval(-1, 1), any, any}, {-1, 0}, false, false},
        {"Asin(x)", {Interval(2, 3), any, any}, {}, true, false},
        {"Asin(x)", {Interval(0.5, 1), any, any}, {0.5236, 2}, false, false},  // the library's halfpi at 1
        {"Atanh(x)", {Interval(-0.5, 0.5), any, any}, {-0.5494, 0.5494}, false, true},
        {"Sin(x)", {Interval(0, 3.2), any, any}, {-0.0585, 1}, false, true},
        {"Tan(x)", {Interval(1, 2), any, any}, Interval::entire(), false, false},
        {"x + ierr", {Interval(1, 2), any, any}, {1, 2}, false, true},
    };
    for (const auto &c : cases) {
        const IntervalCompilation compiled = compile(c.expression);
        ASSERT_TRUE(compiled.program) << c.expression;
        Interval value;
        std::array<Interval, 3> slopes;
        const bool some = enclose(*compiled.program, c.box, value, slopes);
        EXPECT_EQ(!some, c.empty) << c.expression;
        if (!some) continue;
        EXPECT_EQ(workspace_.regular, c.regular) << c.expression;
        auto near = [](double a, double b) { return a == b || std::fabs(a - b) <= 1e-3; };
        EXPECT_TRUE(near(value.lo, c.expected.lo) && near(value.hi, c.expected.hi))
            << c.expression << ": [" << value.lo << ", " << value.hi << "]";
    }
}

TEST_F(IntervalEnclosure, EachExpressionWithoutAnIntervalFormSaysWhy) {
    const std::pair<const char *, const char *> cases[] = {{"x & 1", "the & operator"},
                                                           {"\"2\" + x", "text"},
                                                           {"Len(x)", "a call of something that is no function"},
                                                           {"Null + x", "Null"}};
    for (const auto &[text, reason] : cases) {
        const IntervalCompilation compiled = compile(text);
        EXPECT_FALSE(compiled.program) << text;
        EXPECT_EQ(compiled.equation, 0) << text;
        EXPECT_EQ(compiled.reason, reason) << text;
    }
}

}  // namespace
}  // namespace zl
