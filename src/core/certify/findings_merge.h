#pragma once
// The end of a search: proofs of the same root made in different boxes become
// one root, undecided boxes that a proof decides are dropped, and touching
// undecided boxes become one. The result depends on the findings alone, not on
// the order they came in.

#include <vector>

#include "core/certify/box.h"
#include "core/certify/root_prover.h"

namespace zl {

struct MergedFindings {
    std::vector<ProvedRoot> roots;  ///< distinct roots, in lexicographic order of their points
    std::vector<Box> undecided;     ///< largest first
};

/// Two proofs are of the same root when one's enclosure lies in the other's
/// region (which holds exactly one root), of different roots when their
/// enclosures are disjoint; proofs too close to tell apart leave the hull of
/// their enclosures undecided.
MergedFindings mergeFindings(std::vector<ProvedRoot> proofs, std::vector<Box> undecided);

}  // namespace zl
