// The texts a Certify run adds to the list that the run's own tests do not
// compare whole (they compare the summary lines and "NOT PROVED" in full).

#include <gtest/gtest.h>

#include "core/certify/certify_lines.h"

namespace zl {
namespace {

TEST(CertifyLines, ReadAsTheListShowsThem) {
    EXPECT_EQ(undecidedBoxLine(2, {"x", "speed"}, {Interval(0.5, 0.75), Interval(-1e-9, 1)}),
              "UNDECIDED BOX 2: x=[0.5, 0.75] speed=[-1E-09, 1]");
    EXPECT_EQ(notListedLine(23), "MORE THAN 100 SOLUTIONS: 23 MORE PROVED, NOT LISTED.");
    const double radius = 0.0625;
    EXPECT_EQ(proofLine(&radius), "PROVED UNIQUE WITHIN 0.0625");
}

}  // namespace
}  // namespace zl
