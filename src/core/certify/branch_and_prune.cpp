#include "core/certify/branch_and_prune.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/certify/hc4_contractor.h"
#include "core/certify/interval_newton.h"
#include "core/certify/point_newton.h"

namespace zl {
namespace {

/// Bisection splits a little off the middle, so that a root at the middle of
/// a symmetric box (often 0) does not land on the face between the halves.
constexpr double kSplitRatio = 0.4557;

/// A contraction round counts when some width shrinks by this fraction.
constexpr double kWorthwhileShrink = 0.1;
constexpr int kMaxContractionRounds = 8;
constexpr int kMaxPropagationPasses = 4;

/// More undecided boxes than this are counted but not kept.
constexpr std::size_t kMaxUndecidedKept = 100000;

bool shrankEnough(const Box &before, const Box &after) {
    for (std::size_t i = 0; i < before.size(); ++i)
        if (after[i].width() < (1 - kWorthwhileShrink) * before[i].width()) return true;
    return false;
}

/// Merges boxes that touch into their hulls until none touch.
std::vector<Box> mergeTouching(std::vector<Box> boxes) {
    bool merged = true;
    while (merged) {
        merged = false;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            for (std::size_t j = i + 1; j < boxes.size();) {
                if (boxesMeet(boxes[i], boxes[j])) {
                    boxes[i] = boxHull(boxes[i], boxes[j]);
                    boxes[j] = std::move(boxes.back());
                    boxes.pop_back();
                    merged = true;
                } else {
                    ++j;
                }
            }
        }
    }
    return boxes;
}

double volumeScale(const Box &box) {
    double product = 1;
    for (const Interval &x : box) product *= std::max(x.width(), 1e-300);
    return product;
}

}  // namespace

/// The state of one search: its stack of boxes, the roots found and the
/// tools, each with its own scratch space.
class BranchAndPrune::Worker {
public:
    Worker(const IntervalProgram &program, const SearchSettings &settings, const Box &searchBox)
        : program_(program), settings_(settings), n_(static_cast<std::size_t>(program.variableCount)), hc4_(program),
          newton_(program), pointNewton_(program), prover_(program) {
        workspace_.prepare(program);
        limits_ = searchBox;
        for (Interval &x : limits_)
            x = {nextDown(x.lo - settings.faceTolerance), nextUp(x.hi + settings.faceTolerance)};
        stack_.push_back(searchBox);
    }

    SearchResult run(const std::atomic<bool> *stop) {
        while (!stack_.empty()) {
            if (stop && stop->load(std::memory_order_relaxed)) {
                result_.stopped = true;
                for (Box &box : stack_) keepUndecided(std::move(box));
                stack_.clear();
                break;
            }
            Box box = std::move(stack_.back());
            stack_.pop_back();
            process(box);
        }
        return finish();
    }

private:
    void process(Box &box) {
        ++result_.statistics.boxes;
        if (decidedByKnownRoot(box)) return;
        bool regular = false;
        switch (contract(box, regular)) {
        case Outcome::Decided:
            return;
        case Outcome::Open:
            break;
        }
        if (maxWidth(box) < settings_.minWidth) return decideSmall(box);
        if (regular) searchWithNewton(box);
        if (decidedByKnownRoot(box)) return;
        bisect(box);
    }

    enum class Outcome { Decided, Open };

    /// Propagation and interval Newton steps while they pay.
    Outcome contract(Box &box, bool &regular) {
        for (int round = 0; round < kMaxContractionRounds; ++round) {
            for (int pass = 0; pass < kMaxPropagationPasses; ++pass) {
                before_ = box;
                if (!hc4_.contract(box, workspace_)) return Outcome::Decided;
                if (!shrankEnough(before_, box)) break;
            }
            before_ = box;
            chooseCenter(box);
            switch (newton_.step(box, center_.data(), workspace_,
                                 {.reusePreconditioner = round > 0, .valuesReady = true})) {
            case NewtonStep::Empty:
                return Outcome::Decided;
            case NewtonStep::Proved: {
                ProvedRoot root{midpoint(box), box, before_};
                prover_.tighten(root, workspace_);
                record(std::move(root));
                return Outcome::Decided;
            }
            case NewtonStep::NotApplicable:
                regular = false;
                return Outcome::Open;
            case NewtonStep::Contracted:
                regular = true;
                jacobianKnown_ = true;
                break;
            }
            if (!shrankEnough(before_, box)) break;
        }
        return Outcome::Open;
    }

    /// A known root inside the box makes the best center; else the midpoint.
    void chooseCenter(const Box &box) {
        for (const ProvedRoot &root : result_.roots) {
            if (boxContainsPoint(box, root.point.data())) {
                center_ = root.point;
                return;
            }
        }
        center_.resize(n_);
        for (std::size_t i = 0; i < n_; ++i) center_[i] = box[i].mid();
    }

    /// Newton from the midpoint; a root it reaches anywhere in the search box
    /// is proved and kept.
    void searchWithNewton(const Box &box) {
        for (const ProvedRoot &root : result_.roots)
            if (boxContainsPoint(box, root.point.data())) return;
        ++result_.statistics.newtonRuns;
        // A root is looked for near the box only: Newton's method wandering
        // off is stopped early, and roots elsewhere have their own boxes.
        near_ = box;
        for (Interval &x : near_) x = {x.lo - x.width(), x.hi + x.width()};
        std::vector<double> point = midpoint(box);
        if (!pointNewton_.converge(point, workspace_, 20, &near_)) return;
        if (!boxContainsPoint(limits_, point.data())) return;
        for (const ProvedRoot &root : result_.roots)
            if (boxContainsPoint(root.region, point.data())) return;
        record(prover_.proveNear(point, nullptr, &limits_, 1e-3 * maxWidth(limits_), workspace_));
    }

    /// A box too narrow to bisect: a root on one of its faces (the search
    /// box's or one shared with a neighbour) may still be proved in a box
    /// reaching a little beyond it.
    void decideSmall(Box &box) {
        chooseCenter(box);
        std::optional<ProvedRoot> root =
            prover_.proveNear(center_, &box, &limits_, 16 * settings_.minWidth + 1e-12, workspace_);
        if (root) {
            const bool covers = boxContains(root->region, box);
            record(std::move(root));
            if (covers) return;
        }
        keepUndecided(std::move(box));
    }

    void bisect(Box &box) {
        const std::size_t variable = splitVariable(box);
        ++result_.statistics.bisections;
        const Interval x = box[variable];
        const double split = x.lo + kSplitRatio * x.width();
        Box upper = box;
        upper[variable].lo = split;
        box[variable].hi = split;
        stack_.push_back(std::move(upper));
        stack_.push_back(std::move(box));
    }

    /// The variable whose width weighs most in the residuals' variation over
    /// the box (the "smear" of each row, relative to the row's total), or the
    /// widest when the box gave no Jacobian.
    std::size_t splitVariable(const Box &box) {
        if (!jacobianKnown_) return widestVariable(box);
        jacobianKnown_ = false;
        const std::vector<Interval> &jacobian = newton_.jacobian();
        std::vector<double> score(n_, 0.0);
        for (std::size_t i = 0; i < n_; ++i) {
            double total = 0;
            for (std::size_t j = 0; j < n_; ++j) total += jacobian[i * n_ + j].magnitude() * box[j].width();
            if (!(total > 0) || !std::isfinite(total)) continue;
            for (std::size_t j = 0; j < n_; ++j) score[j] += jacobian[i * n_ + j].magnitude() * box[j].width() / total;
        }
        std::size_t best = widestVariable(box);
        double bestScore = -1;
        for (std::size_t j = 0; j < n_; ++j) {
            if (box[j].width() < settings_.minWidth) continue;
            if (score[j] > bestScore) {
                bestScore = score[j];
                best = j;
            }
        }
        return bestScore > 0 ? best : widestVariable(box);
    }

    bool decidedByKnownRoot(const Box &box) const {
        for (const ProvedRoot &root : result_.roots)
            if (boxContains(root.region, box)) return true;
        return false;
    }

    enum class Sameness { Same, Different, Unclear };

    static Sameness compareRoots(const ProvedRoot &a, const ProvedRoot &b) {
        if (boxContains(a.region, b.enclosure) || boxContains(b.region, a.enclosure)) return Sameness::Same;
        if (!boxesMeet(a.enclosure, b.enclosure)) return Sameness::Different;
        return Sameness::Unclear;
    }

    void record(std::optional<ProvedRoot> root) {
        if (!root) return;
        ++result_.statistics.proofs;
        for (ProvedRoot &known : result_.roots) {
            switch (compareRoots(known, *root)) {
            case Sameness::Different:
                continue;
            case Sameness::Same:
                // The larger region decides more of the search.
                if (volumeScale(root->region) > volumeScale(known.region)) known.region = root->region;
                return;
            case Sameness::Unclear:
                // Two proofs whose enclosures overlap without either lying
                // in the other's region: too close to tell apart.
                keepUndecided(boxHull(known.enclosure, root->enclosure));
                return;
            }
        }
        result_.roots.push_back(std::move(*root));
    }

    void keepUndecided(Box box) {
        ++undecidedCount_;
        if (undecided_.size() < kMaxUndecidedKept) undecided_.push_back(std::move(box));
    }

    SearchResult finish() {
        std::sort(result_.roots.begin(), result_.roots.end(),
                  [](const ProvedRoot &a, const ProvedRoot &b) { return a.point < b.point; });
        result_.undecided = mergeTouching(std::move(undecided_));
        std::sort(result_.undecided.begin(), result_.undecided.end(),
                  [](const Box &a, const Box &b) { return maxWidth(a) > maxWidth(b); });
        return std::move(result_);
    }

    const IntervalProgram &program_;
    const SearchSettings &settings_;
    std::size_t n_;
    IntervalWorkspace workspace_;
    Hc4Contractor hc4_;
    IntervalNewton newton_;
    PointNewton pointNewton_;
    RootProver prover_;
    Box limits_;
    Box near_;                    ///< scratch: where Newton's method may go from a box
    Box before_;                  ///< scratch: a box before a contraction step
    std::vector<double> center_;  ///< scratch: the center of a Newton step
    std::vector<Box> stack_;
    std::vector<Box> undecided_;
    std::int64_t undecidedCount_ = 0;
    bool jacobianKnown_ = false;
    SearchResult result_;
};

BranchAndPrune::BranchAndPrune(const IntervalProgram &program, SearchSettings settings)
    : program_(program), settings_(settings) {}

BranchAndPrune::~BranchAndPrune() = default;

SearchResult BranchAndPrune::run(const Box &searchBox, const std::atomic<bool> *stop) {
    Worker worker(program_, settings_, searchBox);
    return worker.run(stop);
}

}  // namespace zl
