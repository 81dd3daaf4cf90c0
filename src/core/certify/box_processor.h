#pragma once
// The work on one box of the search: narrow it by constraint propagation and
// interval Newton steps, look for a root in it by Newton's method, and then
// decide it (no root, exactly one root, or too small to split) or split it
// in two. What happens to a box depends on the box alone, so a search gives
// the same findings whichever thread takes which box.

#include <cstdint>
#include <vector>

#include "core/certify/box.h"
#include "core/certify/hc4_contractor.h"
#include "core/certify/interval_newton.h"
#include "core/certify/point_newton.h"
#include "core/certify/root_prover.h"
#include "core/eval/interval_program.h"

namespace zl {

struct SearchSettings {
    /// A box whose every width is below this is not bisected again.
    double minWidth = 1e-8;
    /// A root may be proved in a box reaching this far outside the search
    /// box: a root on a face is then found, one just outside it may be too.
    double faceTolerance = 1e-8;
};

struct SearchStatistics {
    std::int64_t boxes = 0;  ///< boxes processed
    std::int64_t bisections = 0;
    std::int64_t newtonRuns = 0;    ///< quick Newton iterations from midpoints
    std::int64_t proofs = 0;        ///< successful proofs, the same root proved twice counted twice
    std::int64_t propagations = 0;  ///< sweeps of constraint propagation
    std::int64_t newtonSteps = 0;   ///< interval Newton steps

    void add(const SearchStatistics &other) {
        boxes += other.boxes;
        propagations += other.propagations;
        newtonSteps += other.newtonSteps;
        bisections += other.bisections;
        newtonRuns += other.newtonRuns;
        proofs += other.proofs;
    }
};

struct SearchBox {
    Box box;
    /// A root proved in an ancestor and lying in this box, the center of its
    /// Newton steps; empty when there is none.
    std::vector<double> knownRoot;
};

/// What processing boxes found: every proof (a root proved twice appears
/// twice) and every undecided box.
struct BoxFindings {
    std::vector<ProvedRoot> proofs;
    std::vector<Box> undecided;
    SearchStatistics statistics;
};

class BoxProcessor {
public:
    BoxProcessor(const IntervalProgram &program, const SearchSettings &settings, const Box &searchBox);

    /// Decides `box`, or appends its two halves to `children`.
    void process(SearchBox &box, std::vector<SearchBox> &children, BoxFindings &findings);

private:
    enum class Outcome { Decided, Open };
    Outcome contract(SearchBox &box, BoxFindings &findings);
    void chooseCenter(const SearchBox &box);
    void searchWithNewton(SearchBox &box, BoxFindings &findings);
    void decideSmall(SearchBox &box, BoxFindings &findings);
    void bisect(SearchBox &box, std::vector<SearchBox> &children, BoxFindings &findings);
    std::size_t splitVariable(const Box &box);

    SearchSettings settings_;
    std::size_t n_;
    IntervalWorkspace workspace_;
    Hc4Contractor hc4_;
    IntervalNewton newton_;
    PointNewton pointNewton_;
    RootProver prover_;
    Box limits_;                  ///< the search box widened by the face tolerance
    Box near_;                    ///< scratch: where Newton's method may go from a box
    Box before_;                  ///< scratch: a box before a contraction step
    std::vector<double> center_;  ///< scratch: the center of a Newton step
    bool regular_ = false;        ///< the last Newton step found the residuals regular on the box
};

}  // namespace zl
