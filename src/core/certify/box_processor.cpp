#include "core/certify/box_processor.h"

#include <cmath>

namespace zl {
namespace {

/// Bisection splits at the middle. A root that lands on the face between the
/// halves is held by both: each narrows to a tiny box at it and proves it in
/// a box reaching a little beyond that face, and the two proofs merge.
constexpr double kSplitRatio = 0.5;

/// A contraction round counts when some width shrinks by this fraction.
constexpr double kWorthwhileShrink = 0.1;
constexpr int kMaxContractionRounds = 8;
constexpr int kMaxPropagationPasses = 8;
constexpr int kMaxNewtonIterations = 20;

bool shrankEnough(const Box &before, const Box &after) {
    for (std::size_t i = 0; i < before.size(); ++i)
        if (after[i].width() < (1 - kWorthwhileShrink) * before[i].width()) return true;
    return false;
}

}  // namespace

BoxProcessor::BoxProcessor(const IntervalProgram &program, const SearchSettings &settings, const Box &searchBox)
    : settings_(settings), n_(static_cast<std::size_t>(program.variableCount)), hc4_(program), newton_(program),
      pointNewton_(program), prover_(program), limits_(searchBox) {
    workspace_.prepare(program);
    for (Interval &x : limits_) x = {nextDown(x.lo - settings.faceTolerance), nextUp(x.hi + settings.faceTolerance)};
}

void BoxProcessor::process(SearchBox &box, std::vector<SearchBox> &children, BoxFindings &findings) {
    ++findings.statistics.boxes;
    regular_ = false;
    if (contract(box, findings) == Outcome::Decided) return;
    if (!box.knownRoot.empty() && !boxContainsPoint(box.box, box.knownRoot.data())) box.knownRoot.clear();
    if (maxWidth(box.box) < settings_.minWidth) return decideSmall(box, findings);
    if (regular_ && newton_.nearlyLinear() && box.knownRoot.empty()) searchWithNewton(box, findings);
    bisect(box, children, findings);
}

/// Propagation and interval Newton steps while they pay.
BoxProcessor::Outcome BoxProcessor::contract(SearchBox &searchBox, BoxFindings &findings) {
    Box &box = searchBox.box;
    for (int round = 0; round < kMaxContractionRounds; ++round) {
        for (int pass = 0; pass < kMaxPropagationPasses; ++pass) {
            before_ = box;
            ++findings.statistics.propagations;
            if (!hc4_.contract(box, workspace_)) return Outcome::Decided;
            if (!shrankEnough(before_, box)) break;
        }
        before_ = box;
        chooseCenter(searchBox);
        ++findings.statistics.newtonSteps;
        const IntervalNewton::StepOptions options{.reusePreconditioner = round > 0, .valuesReady = true};
        switch (newton_.step(box, center_.data(), workspace_, options)) {
        case NewtonStep::Empty:
            return Outcome::Decided;
        case NewtonStep::Proved: {
            ProvedRoot root{midpoint(box), box, before_};
            prover_.tighten(root, workspace_);
            findings.proofs.push_back(std::move(root));
            ++findings.statistics.proofs;
            return Outcome::Decided;
        }
        case NewtonStep::NotApplicable:
            regular_ = false;
            return Outcome::Open;
        case NewtonStep::Contracted:
            regular_ = true;
            break;
        }
        if (!shrankEnough(before_, box)) break;
    }
    return Outcome::Open;
}

/// A root known in the box makes the best center; else the midpoint.
void BoxProcessor::chooseCenter(const SearchBox &box) {
    if (!box.knownRoot.empty() && boxContainsPoint(box.box, box.knownRoot.data())) {
        center_ = box.knownRoot;
        return;
    }
    center_.resize(n_);
    for (std::size_t i = 0; i < n_; ++i) center_[i] = box.box[i].mid();
}

/// Newton from the midpoint: a root it reaches in the box is proved, and
/// the box's halves use it as their center.
void BoxProcessor::searchWithNewton(SearchBox &box, BoxFindings &findings) {
    ++findings.statistics.newtonRuns;
    // Newton's method wandering off is stopped early: roots elsewhere have
    // their own boxes.
    near_ = box.box;
    for (Interval &x : near_) x = {x.lo - x.width(), x.hi + x.width()};
    std::vector<double> point = midpoint(box.box);
    if (!pointNewton_.converge(point, workspace_, kMaxNewtonIterations, &near_)) return;
    if (!boxContainsPoint(box.box, point.data())) return;
    std::optional<ProvedRoot> root = prover_.proveNear(point, nullptr, &limits_, maxWidth(box.box), workspace_);
    if (!root) return;
    box.knownRoot = root->point;
    findings.proofs.push_back(std::move(*root));
    ++findings.statistics.proofs;
}

/// A box too narrow to bisect: a root on one of its faces (the search box's
/// or one shared with a neighbour) may still be proved in a box reaching a
/// little beyond it.
void BoxProcessor::decideSmall(SearchBox &box, BoxFindings &findings) {
    chooseCenter(box);
    std::optional<ProvedRoot> root =
        prover_.proveNear(center_, &box.box, &limits_, 16 * settings_.minWidth + 1e-12, workspace_);
    if (root) {
        const bool covers = boxContains(root->region, box.box);
        findings.proofs.push_back(std::move(*root));
        ++findings.statistics.proofs;
        if (covers) return;
    }
    findings.undecided.push_back(std::move(box.box));
}

void BoxProcessor::bisect(SearchBox &box, std::vector<SearchBox> &children, BoxFindings &findings) {
    const std::size_t variable = splitVariable(box.box);
    ++findings.statistics.bisections;
    const Interval x = box.box[variable];
    const double split = x.lo + kSplitRatio * x.width();
    SearchBox upper = box;
    upper.box[variable].lo = split;
    box.box[variable].hi = split;
    children.push_back(std::move(upper));
    children.push_back(std::move(box));
}

/// The variable whose width weighs most in the residuals' variation over the
/// box (the "smear" of each row, relative to the row's total), or the widest
/// when the box gave no Jacobian.
std::size_t BoxProcessor::splitVariable(const Box &box) {
    if (!regular_) return widestVariable(box);
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

}  // namespace zl
