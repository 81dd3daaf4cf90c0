// The contractors never lose a root: over random systems built to vanish at a
// chosen point, constraint propagation and the interval Newton step keep that
// point in every box that holds it. The math library's functions stay out:
// their formulas round differently from the exact functions, so a point where
// the engine computes exactly 0 need not be an exact root, and the
// contractors keep exact roots.

#include <gtest/gtest.h>

#include <cstdio>

#include "../eval/random_expressions.h"
#include "certify_test_support.h"
#include "core/certify/hc4_contractor.h"
#include "core/certify/interval_newton.h"

namespace zl {
namespace {

using zl::testing::TypedProblem;

TEST(Contractors, KeepEveryPointWhereTheResidualsVanish) {
    zl::testing::RandomExpressions random(4242, false);
    int kept = 0, narrowed = 0;
    for (int e = 0; e < 800; ++e) {
        const std::vector<double> root{random.uniform(-3, 3), random.uniform(-3, 3), random.uniform(-3, 3)};
        // Each residual is the expression's own value at the root minus the
        // expression (written "value = expression", so that an "=" inside the
        // expression stays on the right side).
        std::vector<std::string> expressions;
        for (int j = 0; j < 3; ++j) expressions.push_back("0 = " + random.expression(3));
        TypedProblem probe({"x", "y", "z"}, expressions, "-5", "5");
        std::vector<std::string> equations;
        for (int j = 0; j < 3; ++j) {
            double negated = 0;
            if (probe.evaluator.evaluate(j, root.data(), negated) != 0) break;
            char exact[40];  // the text of a double that reads back as the same double
            std::snprintf(exact, sizeof exact, "%.17g", -negated);
            equations.push_back(exact + expressions[static_cast<std::size_t>(j)].substr(1));
        }
        if (equations.size() < 3) continue;
        SCOPED_TRACE(equations[0] + ", " + equations[1] + ", " + equations[2]);
        TypedProblem typed({"x", "y", "z"}, equations, "-5", "5");
        const IntervalProgram program = typed.program();
        IntervalWorkspace workspace;
        workspace.prepare(program);
        Hc4Contractor hc4(program);
        IntervalNewton newton(program);
        for (int b = 0; b < 4; ++b) {
            Box box(3);
            for (std::size_t i = 0; i < 3; ++i) {
                const double radius = std::pow(10.0, random.uniform(-6, 0));
                const double offset = random.uniform(-radius, radius);
                box[i] = {root[i] + offset - radius, root[i] + offset + radius};
            }
            const double before = maxWidth(box);
            ASSERT_TRUE(hc4.contract(box, workspace) && boxContainsPoint(box, root.data()))
                << "propagation lost the root";
            std::vector<double> center = midpoint(box);
            const NewtonStep step = newton.step(box, center.data(), workspace);
            ASSERT_TRUE(step != NewtonStep::Empty && boxContainsPoint(box, root.data()))
                << "the Newton step lost the root";
            ++kept;
            if (maxWidth(box) < 0.5 * before) ++narrowed;
        }
    }
    EXPECT_GT(kept, 800);
    EXPECT_GT(narrowed, 100);
}

}  // namespace
}  // namespace zl
