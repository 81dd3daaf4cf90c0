#include "core/certify/hc4_contractor.h"

#include <algorithm>
#include <cmath>

#include "core/eval/interval_functions.h"

namespace zl {
namespace {

constexpr double kHalfPi = 1.5707963267948966;
constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;

// Inverse functions only narrow, so their bounds may be generous: 2^-40 of
// the magnitude (thousands of ulps) covers every libm error many times over.
double looseDown(double y) { return std::isfinite(y) ? y - (std::fabs(y) * 0x1p-40 + 0x1p-1000) : y; }
double looseUp(double y) { return std::isfinite(y) ? y + (std::fabs(y) * 0x1p-40 + 0x1p-1000) : y; }

/// a narrowed to the values whose image lies in `allowed`, for a function that
/// is even (f(-x) = f(x)) and increasing on x >= 0 with inverse range `root`.
Interval evenPreimage(const Interval &a, const Interval &root) {
    if (root.isEmpty()) return root;
    return hull(intersect(a, root), intersect(a, -root));
}

/// The non-negative x with x^n in v (n >= 1), for v's non-negative part.
Interval nthRootRange(const Interval &v, int n) {
    if (v.hi < 0) return Interval::empty();
    if (n == 2) return squareRoot(v);
    const double lo = v.lo <= 0 ? 0.0 : std::max(0.0, looseDown(std::pow(v.lo, 1.0 / n)));
    return {lo, looseUp(std::pow(v.hi, 1.0 / n))};
}

/// x with x^n in v for odd n.
Interval oddRoot(const Interval &v, int n) {
    auto root = [n](double y) { return y >= 0 ? std::pow(y, 1.0 / n) : -std::pow(-y, 1.0 / n); };
    return {looseDown(root(v.lo)), looseUp(root(v.hi))};
}

/// a narrowed to the x with sin(x + shift) in v, for a of bounded width.
Interval sinePreimage(const Interval &a, const Interval &v, double shift) {
    if (v.lo <= -1 && v.hi >= 1) return a;
    if (!a.isBounded() || a.width() > 4 * kTwoPi || a.magnitude() > 1e9) return a;
    // Within one period the solutions form [alpha, beta] and [pi - beta, pi - alpha].
    const double alpha = v.lo <= -1 ? -kHalfPi : looseDown(std::asin(v.lo));
    const double beta = v.hi >= 1 ? kHalfPi : looseUp(std::asin(v.hi));
    const double from = std::floor((a.lo + shift - kPi * 1.5) / kTwoPi) - 1;
    const double to = std::ceil((a.hi + shift + kHalfPi) / kTwoPi) + 1;
    Interval result = Interval::empty();
    // The turn k 2pi - shift carries the rounding of pi: an absolute slack.
    auto slack = [](double turn) { return (std::fabs(turn) + 8) * 0x1p-40; };
    for (double k = from; k <= to; ++k) {
        const double turn = k * kTwoPi - shift;
        const double margin = slack(turn);
        const Interval rising{alpha + turn - margin, beta + turn + margin};
        const Interval falling{kPi - beta + turn - margin, kPi - alpha + turn + margin};
        result = hull(result, intersect(a, rising));
        result = hull(result, intersect(a, falling));
    }
    return result;
}

/// Narrows operand intervals a (and b) of one node whose value must lie in v.
/// Returns false when nothing is left.
bool project(const IntervalNode &node, const Interval &v, Interval &a, Interval &b) {
    switch (node.op) {
    case IntervalOp::Add:
        a = intersect(a, v - b);
        b = intersect(b, v - a);
        break;
    case IntervalOp::Subtract:
        a = intersect(a, v + b);
        b = intersect(b, a - v);
        break;
    case IntervalOp::Multiply:
        a = solveProduct(a, b, v);
        if (!a.isEmpty()) b = solveProduct(b, a, v);
        break;
    case IntervalOp::Divide:
        a = intersect(a, v * b);
        if (!a.isEmpty()) b = solveProduct(b, v, a);
        break;
    case IntervalOp::Negate:
        a = intersect(a, -v);
        break;
    case IntervalOp::Square:
        a = evenPreimage(a, nthRootRange(v, 2));
        break;
    case IntervalOp::WholePower:
        if (node.count >= 2)
            a = node.count % 2 == 0 ? evenPreimage(a, nthRootRange(v, node.count))
                                    : intersect(a, oddRoot(v, node.count));
        break;
    case IntervalOp::Sqr:
        if (v.hi < 0) return false;
        a = intersect(a, {v.lo <= 0 ? 0.0 : nextDown(v.lo * v.lo), nextUp(v.hi * v.hi)});
        break;
    case IntervalOp::Exp:
        if (v.hi <= 0) return false;
        a = intersect(a, {v.lo <= 0 ? -kInfinity : looseDown(std::log(v.lo)), looseUp(std::log(v.hi))});
        break;
    case IntervalOp::Log:
        a = intersect(a, {looseDown(std::exp(v.lo)), looseUp(std::exp(v.hi))});
        break;
    case IntervalOp::Atn:
        a = intersect(a, {v.lo <= -kHalfPi ? -kInfinity : looseDown(std::tan(v.lo)),
                          v.hi >= kHalfPi ? kInfinity : looseUp(std::tan(v.hi))});
        break;
    case IntervalOp::Abs:
        a = evenPreimage(a, intersect(v, {0, kInfinity}));
        break;
    case IntervalOp::Sin:
        a = sinePreimage(a, v, 0);
        break;
    case IntervalOp::Cos:
        a = sinePreimage(a, v, kHalfPi);  // cos(x) = sin(x + pi/2)
        break;
    case IntervalOp::Sinh:
        a = intersect(a, {looseDown(std::asinh(v.lo)), looseUp(std::asinh(v.hi))});
        break;
    case IntervalOp::Tanh:
        a = intersect(a, {v.lo <= -1 ? -kInfinity : looseDown(std::atanh(v.lo)),
                          v.hi >= 1 ? kInfinity : looseUp(std::atanh(v.hi))});
        break;
    case IntervalOp::Asinh:
        a = intersect(a, {looseDown(std::sinh(v.lo)), looseUp(std::sinh(v.hi))});
        break;
    case IntervalOp::Cosh:
        if (v.hi < 1) return false;
        a = evenPreimage(a, {v.lo <= 1 ? 0.0 : looseDown(std::acosh(v.lo)), looseUp(std::acosh(v.hi))});
        break;
    default:
        break;  // no narrowing: sound, only weaker
    }
    return !a.isEmpty() && !b.isEmpty();
}

}  // namespace

Interval solveProduct(const Interval &a, const Interval &b, const Interval &c) {
    if (!b.containsZero()) return intersect(a, c / b);
    if (c.containsZero()) return a;
    // b straddles or touches 0 and c keeps away from it: x = c / b lies on
    // the far sides, one piece per sign of b.
    Interval result = Interval::empty();
    if (c.lo > 0) {
        if (b.lo < 0) result = hull(result, intersect(a, {-kInfinity, nextUp(c.lo / b.lo)}));
        if (b.hi > 0) result = hull(result, intersect(a, {nextDown(c.lo / b.hi), kInfinity}));
    } else {
        if (b.lo < 0) result = hull(result, intersect(a, {nextDown(c.hi / b.lo), kInfinity}));
        if (b.hi > 0) result = hull(result, intersect(a, {-kInfinity, nextUp(c.hi / b.hi)}));
    }
    return result;
}

bool Hc4Contractor::contract(Box &box, IntervalWorkspace &workspace) {
    if (!evaluateIntervals(program_, box.data(), workspace)) return false;
    narrowedValues_ = workspace.values;
    Interval *values = narrowedValues_.data();
    narrowed_.assign(program_.size(), 0);
    for (const std::int32_t root : program_.roots) {
        const Interval zeroed = intersect(values[root], Interval(0.0));
        if (zeroed.isEmpty()) return false;
        narrowed_[static_cast<std::size_t>(root)] = 1;
        values[root] = zeroed;
    }
    // A node whose value the sweep has not narrowed has nothing to pass on:
    // its operands already give no more than it holds.
    for (std::size_t i = program_.size(); i-- > 0;) {
        if (!narrowed_[i]) continue;
        const IntervalNode &node = program_.nodes[i];
        if (node.a < 0) continue;
        Interval &a = values[node.a];
        Interval ignored(0.0);
        Interval &b = node.b >= 0 ? values[node.b] : ignored;
        const Interval aBefore = a;
        const Interval bBefore = b;
        if (!project(node, values[i], a, b)) return false;
        if (a.lo != aBefore.lo || a.hi != aBefore.hi) narrowed_[static_cast<std::size_t>(node.a)] = 1;
        if (node.b >= 0 && (b.lo != bBefore.lo || b.hi != bBefore.hi)) narrowed_[static_cast<std::size_t>(node.b)] = 1;
    }
    for (std::size_t i = 0; i < program_.size(); ++i) {
        const IntervalNode &node = program_.nodes[i];
        if (node.op == IntervalOp::Variable) box[static_cast<std::size_t>(node.count)] = values[i];
    }
    return true;
}

}  // namespace zl
