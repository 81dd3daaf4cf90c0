// The texts a Certify run adds to the list.

#include <gtest/gtest.h>

#include "core/certify/certify_lines.h"

namespace zl {
namespace {

TEST(CertifyLines, ReadAsTheListShowsThem) {
    EXPECT_EQ(completeSearchLine(18), "ALL SOLUTIONS IN THE BOX FOUND: 18, each proved unique");
    EXPECT_EQ(incompleteSearchLine(17, 3), "SEARCH NOT COMPLETE: 17 solutions proved unique, 3 boxes undecided");
    EXPECT_EQ(undecidedBoxLine(2, {"x", "speed"}, {Interval(0.5, 0.75), Interval(-1e-9, 1)}),
              "UNDECIDED BOX 2: x=[0.5, 0.75] speed=[-1E-09, 1]");
    EXPECT_EQ(noIntervalFormLine(2, "the & operator"), "NO INTERVAL FORM: EQUATION #2 USES THE & OPERATOR.");
    EXPECT_EQ(notListedLine(23), "MORE THAN 100 SOLUTIONS: 23 MORE PROVED, NOT LISTED.");
    const double radius = 0.0625;
    EXPECT_EQ(proofLine(&radius), "PROVED UNIQUE WITHIN 0.0625");
    EXPECT_EQ(proofLine(nullptr), "NOT PROVED");
}

}  // namespace
}  // namespace zl
