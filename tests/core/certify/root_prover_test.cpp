// Proving a root unique in a box: simple roots are proved with a box that
// holds the exact root; a double root and a root on the box's edge are not.

#include <gtest/gtest.h>

#include <cmath>

#include "certify_test_support.h"
#include "core/certify/root_prover.h"

namespace zl {
namespace {

using zl::testing::TypedProblem;

/// A prover for the typed problem's system, with the workspace it works in.
struct Prover : TypedProblem {
    IntervalProgram program = TypedProblem::program();
    IntervalWorkspace workspace;
    RootProver prover{program};

    Prover(const std::vector<std::string> &names, const std::vector<std::string> &equations)
        : TypedProblem(names, equations, "-10", "10") {
        workspace.prepare(program);
    }
};

struct SimpleRoot {
    std::vector<std::string> names;
    std::vector<std::string> equations;
    std::vector<double> approximate;  ///< where the proof starts
    std::vector<double> exact;        ///< the root, to double precision
};

void PrintTo(const SimpleRoot &row, std::ostream *os) { *os << ::testing::PrintToString(row.equations); }

class ProvesSimpleRoots : public ::testing::TestWithParam<SimpleRoot> {};

TEST_P(ProvesSimpleRoots, InABoxHoldingTheExactRoot) {
    const SimpleRoot &c = GetParam();
    Prover typed(c.names, c.equations);
    const auto root = typed.prover.proveNear(c.approximate, nullptr, nullptr, 1, typed.workspace);
    ASSERT_TRUE(root);
    for (std::size_t i = 0; i < c.exact.size(); ++i) {
        EXPECT_TRUE(root->region[i].containsInterval(root->enclosure[i]));
        // The enclosure is tight: it holds the exact root and little else.
        EXPECT_TRUE(Interval(nextDown(root->enclosure[i].lo), nextUp(root->enclosure[i].hi)).contains(c.exact[i]))
            << i << ": " << root->enclosure[i].lo << " " << root->enclosure[i].hi;
        EXPECT_LT(root->enclosure[i].width(), 1e-12 * (1 + std::fabs(c.exact[i])));
        EXPECT_NEAR(root->point[i], c.exact[i], 1e-12 * (1 + std::fabs(c.exact[i])));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, ProvesSimpleRoots,
                         ::testing::Values(SimpleRoot{{"x"}, {"x^2 = 2"}, {1.4}, {std::sqrt(2.0)}},
                                           SimpleRoot{{"x"}, {"Sin(x) = 0.5"}, {0.6}, {std::asin(0.5)}},
                                           SimpleRoot{{"x"}, {"Exp(x) + x = 2"}, {0.4}, {0.44285440100238858}},
                                           SimpleRoot{{"x", "y"}, {"x^2 + y^2 = 2", "x = y"}, {0.9, 1.2}, {1, 1}},
                                           SimpleRoot{{"a", "b"},
                                                      {"Atanh(a) = b", "Asinh(b) + a = 1"},
                                                      {0.5, 0.6},
                                                      {0.48850386176208693, 0.5340933696823669}}));

TEST(RootProver, RefusesADoubleRoot) {
    for (const auto &[equation, root] : {std::pair{"x^2 = 0", 0.0}, {"x^2 - 2*x + 1 = 0", 1.0}, {"x^3 = 0", 0.0}}) {
        Prover typed({"x"}, {equation});
        EXPECT_FALSE(typed.prover.proveNear({root}, nullptr, nullptr, 1, typed.workspace)) << equation;
        EXPECT_FALSE(typed.prover.proveInBox({Interval(root - 0.5, root + 0.5)}, nullptr, typed.workspace)) << equation;
    }
}

TEST(RootProver, RefusesARootOnTheBoxEdgeButNotInside) {
    Prover typed({"x", "y"}, {"x = 0", "y^2 = 4"});
    EXPECT_FALSE(typed.prover.proveInBox({Interval(0, 1), Interval(1.5, 2.5)}, nullptr, typed.workspace));
    EXPECT_FALSE(typed.prover.proveInBox({Interval(-1, 1), Interval(2, 2.5)}, nullptr, typed.workspace));
    const auto inside = typed.prover.proveInBox({Interval(-0.25, 1), Interval(1.5, 2.5)}, nullptr, typed.workspace);
    ASSERT_TRUE(inside);
    EXPECT_TRUE(inside->enclosure[0].contains(0) && inside->enclosure[1].contains(2));
}

TEST(RootProver, NeedsTheResidualsDefinedOnTheWholeBox) {
    Prover typed({"x"}, {"Sqr(x) = 1"});
    EXPECT_FALSE(typed.prover.proveInBox({Interval(-1, 2)}, nullptr, typed.workspace));
    EXPECT_TRUE(typed.prover.proveInBox({Interval(0.5, 2)}, nullptr, typed.workspace));
}

// The polish leads far beyond the radius allowed, and around the point itself
// there is no root: an empty Newton step ends the search.
TEST(RootProver, FindsNoRootFarFromThePoint) {
    Prover typed({"x"}, {"x^2 = 2"});
    EXPECT_FALSE(typed.prover.proveNear({5.0}, nullptr, nullptr, 0.5, typed.workspace));
}

}  // namespace
}  // namespace zl
