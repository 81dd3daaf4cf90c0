// Merging what the boxes of a search found: one root per root, undecided
// boxes that a proof decides dropped, touching undecided boxes joined.

#include <gtest/gtest.h>

#include "core/certify/findings_merge.h"

namespace zl {
namespace {

ProvedRoot proof(double root, double enclosureRadius, double regionRadius) {
    return {{root},
            {Interval(root - enclosureRadius, root + enclosureRadius)},
            {Interval(root - regionRadius, root + regionRadius)}};
}

TEST(FindingsMerge, TwoProofsOfOneRootGiveOneRootWithTheTighterEnclosure) {
    const MergedFindings merged = mergeFindings({proof(1, 1e-10, 0.5), proof(1 + 1e-12, 1e-14, 1e-6)}, {});
    ASSERT_EQ(merged.roots.size(), 1u);
    EXPECT_LT(merged.roots[0].enclosure[0].width(), 1e-13);
}

TEST(FindingsMerge, ProofsTooCloseToTellApartLeaveTheirHullUndecided) {
    // Overlapping enclosures, neither inside the other's region.
    const MergedFindings merged = mergeFindings({proof(1, 1e-3, 1.5e-3), proof(1 + 1.8e-3, 1e-3, 1.5e-3)}, {});
    EXPECT_EQ(merged.roots.size(), 1u);
    ASSERT_EQ(merged.undecided.size(), 1u);
    EXPECT_TRUE(merged.undecided[0][0].containsInterval({0.999, 1.0028}));
}

TEST(FindingsMerge, DropsUndecidedBoxesInARegionAndJoinsTouchingOnes) {
    const std::vector<Box> undecided{{Interval(0.9, 0.95), Interval(0, 1)},  // inside the root's region
                                     {Interval(5, 6), Interval(0, 1)},
                                     {Interval(6, 7), Interval(1, 2)},  // touches the one before at a corner
                                     {Interval(-4, -3.9), Interval(0, 0.1)}};
    const ProvedRoot root{{1, 0.5}, {Interval(1), Interval(0.5)}, {Interval(0.8, 1.2), Interval(-1, 2)}};
    const MergedFindings merged = mergeFindings({root}, undecided);
    ASSERT_EQ(merged.undecided.size(), 2u);
    EXPECT_EQ(merged.undecided[0][0].lo, 5);  // the largest first
    EXPECT_EQ(merged.undecided[0][1].hi, 2);
    EXPECT_EQ(merged.undecided[1][0].lo, -4);
}

}  // namespace
}  // namespace zl
