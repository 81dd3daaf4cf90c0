#include "core/eval/interval_program.h"

#include <algorithm>
#include <cmath>

#include "core/eval/arithmetic.h"
#include "core/eval/builtin_functions.h"
#include "core/eval/interval_functions.h"
#include "core/numbers/number_reading.h"

namespace zl {
namespace {

using intervals::Comparison;
using intervals::Logical;

/// The derivative of a node as a combination of its operands' derivatives:
/// d = alpha * da + beta * db.
struct Slopes {
    Interval alpha;
    Interval beta;
    enum class Form : std::uint8_t { Zero, Sum, Difference, Unary, Binary } form = Form::Zero;
};

Slopes unary(const Interval &alpha) { return {alpha, Interval(0.0), Slopes::Form::Unary}; }

Interval one() { return Interval(1.0); }

/// The slopes of a node whose operands hold `a` and `b` and whose value is `v`.
Slopes slopesOf(const IntervalNode &node, const Interval &a, const Interval &b, const Interval &v) {
    bool ignored = true;
    switch (node.op) {
    case IntervalOp::Add:
        return {one(), one(), Slopes::Form::Sum};
    case IntervalOp::Subtract:
        return {one(), one(), Slopes::Form::Difference};
    case IntervalOp::Multiply:
        return {b, a, Slopes::Form::Binary};
    case IntervalOp::Divide: {
        const Interval reciprocal = one() / b;
        return {reciprocal, -(v * reciprocal), Slopes::Form::Binary};
    }
    case IntervalOp::Power:
        return {v * (b / a), intervals::log(a, ignored) * v, Slopes::Form::Binary};
    case IntervalOp::Negate:
        return unary(Interval(-1.0));
    case IntervalOp::Square:
        return unary(2.0 * a);
    case IntervalOp::WholePower:
        if (node.count == 3) return unary(3.0 * square(a));
        return unary(static_cast<double>(node.count) * intervals::wholePower(a, node.count - 1, ignored));
    case IntervalOp::ConstantPower:
        return unary(node.constant.lo * intervals::constantPower(a, node.constant.lo - 1, ignored));
    case IntervalOp::Abs:
        return unary(a.lo > 0 ? one() : a.hi < 0 ? Interval(-1.0) : Interval(-1, 1));
    case IntervalOp::Atn:
        return unary(one() / (one() + square(a)));
    case IntervalOp::Cos:
        return unary(-intervals::sin(a));
    case IntervalOp::Sin:
        return unary(intervals::cos(a));
    case IntervalOp::Tan:
        return unary(one() + square(v));
    case IntervalOp::Exp:
        return unary(v);
    case IntervalOp::Log:
        return unary(one() / a);
    case IntervalOp::Sqr:
        return unary(one() / (2.0 * v));
    case IntervalOp::Asin:
        return unary(one() / squareRoot(one() - square(a)));
    case IntervalOp::Acos:
        return unary(-(one() / squareRoot(one() - square(a))));
    case IntervalOp::Sinh:
        return unary(intervals::cosh(a));
    case IntervalOp::Cosh:
        return unary(intervals::sinh(a));
    case IntervalOp::Tanh:
        return unary(one() - square(v));
    case IntervalOp::Asinh:
        return unary(one() / squareRoot(square(a) + one()));
    case IntervalOp::Acosh:
        return unary(one() / squareRoot(square(a) - one()));
    case IntervalOp::Atanh:
        return unary(one() / (one() - square(a)));
    default:
        // Variables are seeded, constants and whole-number steps have none.
        return {};
    }
}

// Point arithmetic for the quick Newton iteration: the same operations in
// plain doubles, a failure showing as NaN.
double pointValue(const IntervalNode &node, double a, double b) {
    double result = NAN;
    switch (node.op) {
    case IntervalOp::Variable:
        return NAN;  // set by the caller
    case IntervalOp::Constant:
        return node.constant.mid();
    case IntervalOp::Add:
        return a + b;
    case IntervalOp::Subtract:
        return a - b;
    case IntervalOp::Multiply:
        return a * b;
    case IntervalOp::Divide:
        return b == 0 ? NAN : a / b;
    case IntervalOp::Negate:
        return -a;
    case IntervalOp::Square:
        return a * a;
    case IntervalOp::WholePower:
        return arithmetic::wholePower(a, node.count, result) == 0 ? result : NAN;
    case IntervalOp::ConstantPower:
        return arithmetic::power(a, node.constant.lo, result) == 0 ? result : NAN;
    case IntervalOp::Power:
        return arithmetic::power(a, b, result) == 0 ? result : NAN;
    case IntervalOp::Asin:
    case IntervalOp::Acos: {
        if (!(a >= -1 && a <= 1)) return NAN;
        const double halfpi = node.constant.lo;
        const double s = a == 1 ? halfpi : a == -1 ? -halfpi : std::asin(a);
        return node.op == IntervalOp::Asin ? s : halfpi - s;
    }
    case IntervalOp::Sinh:
        return std::sinh(a);
    case IntervalOp::Cosh:
        return std::cosh(a);
    case IntervalOp::Tanh:
        return std::tanh(a);
    case IntervalOp::Asinh:
        return std::asinh(a);
    case IntervalOp::Acosh:
        return a >= 1 ? std::acosh(a) : NAN;
    case IntervalOp::Atanh:
        return a > -1 && a < 1 ? std::atanh(a) : NAN;
    default:
        break;
    }
    // Everything else as the point interval computes it.
    bool ignored = true;
    const Interval v = applyIntervalOp(node, Interval(a), Interval(b), ignored);
    return v.isEmpty() ? NAN : v.mid();
}

/// d(node)/d(operand a) and d/d(b) at a point.
void pointSlopes(const IntervalNode &node, double a, double b, double v, double &alpha, double &beta) {
    alpha = 0;
    beta = 0;
    switch (node.op) {
    case IntervalOp::Add:
        alpha = 1;
        beta = 1;
        return;
    case IntervalOp::Subtract:
        alpha = 1;
        beta = -1;
        return;
    case IntervalOp::Multiply:
        alpha = b;
        beta = a;
        return;
    case IntervalOp::Divide:
        alpha = 1 / b;
        beta = -v / b;
        return;
    case IntervalOp::Power:
        alpha = a == 0 ? 0 : b * v / a;
        beta = a > 0 ? std::log(a) * v : 0;
        return;
    case IntervalOp::Negate:
        alpha = -1;
        return;
    case IntervalOp::Square:
        alpha = 2 * a;
        return;
    case IntervalOp::WholePower: {
        const int lower = node.count - 1;
        alpha = node.count *
                (lower >= 0 ? arithmetic::multipliedPower(a, lower) : 1.0 / arithmetic::multipliedPower(a, -lower));
        return;
    }
    case IntervalOp::ConstantPower:
        alpha = node.constant.lo * std::pow(a, node.constant.lo - 1);
        return;
    case IntervalOp::Abs:
        alpha = a > 0 ? 1 : a < 0 ? -1 : 0;
        return;
    case IntervalOp::Atn:
        alpha = 1 / (1 + a * a);
        return;
    case IntervalOp::Cos:
        alpha = -std::sin(a);
        return;
    case IntervalOp::Sin:
        alpha = std::cos(a);
        return;
    case IntervalOp::Tan:
        alpha = 1 + v * v;
        return;
    case IntervalOp::Exp:
        alpha = v;
        return;
    case IntervalOp::Log:
        alpha = 1 / a;
        return;
    case IntervalOp::Sqr:
        alpha = 1 / (2 * v);
        return;
    case IntervalOp::Asin:
        alpha = 1 / std::sqrt(1 - a * a);
        return;
    case IntervalOp::Acos:
        alpha = -1 / std::sqrt(1 - a * a);
        return;
    case IntervalOp::Sinh:
        alpha = std::cosh(a);
        return;
    case IntervalOp::Cosh:
        alpha = std::sinh(a);
        return;
    case IntervalOp::Tanh:
        alpha = 1 - v * v;
        return;
    case IntervalOp::Asinh:
        alpha = 1 / std::sqrt(a * a + 1);
        return;
    case IntervalOp::Acosh:
        alpha = 1 / std::sqrt(a * a - 1);
        return;
    case IntervalOp::Atanh:
        alpha = 1 / (1 - a * a);
        return;
    default:
        return;
    }
}

}  // namespace

Interval applyIntervalOp(const IntervalNode &node, const Interval &a, const Interval &b, bool &regular) {
    namespace iv = intervals;
    switch (node.op) {
    case IntervalOp::Variable:
        return a;
    case IntervalOp::Constant:
        return node.constant;
    case IntervalOp::Add:
        return a + b;
    case IntervalOp::Subtract:
        return a - b;
    case IntervalOp::Multiply:
        return a * b;
    case IntervalOp::Divide:
        return iv::divide(a, b, regular);
    case IntervalOp::Negate:
        return -a;
    case IntervalOp::Square:
        return square(a);
    case IntervalOp::WholePower:
        return iv::wholePower(a, node.count, regular);
    case IntervalOp::ConstantPower:
        return iv::constantPower(a, node.constant.lo, regular);
    case IntervalOp::Power:
        return iv::power(a, b, regular);
    case IntervalOp::IntegerDivide:
        return iv::integerDivide(a, b, regular);
    case IntervalOp::Modulo:
        return iv::modulo(a, b, regular);
    case IntervalOp::Equal:
        return iv::compare(Comparison::Equal, a, b, regular);
    case IntervalOp::NotEqual:
        return iv::compare(Comparison::NotEqual, a, b, regular);
    case IntervalOp::Less:
        return iv::compare(Comparison::Less, a, b, regular);
    case IntervalOp::Greater:
        return iv::compare(Comparison::Greater, a, b, regular);
    case IntervalOp::LessEqual:
        return iv::compare(Comparison::LessEqual, a, b, regular);
    case IntervalOp::GreaterEqual:
        return iv::compare(Comparison::GreaterEqual, a, b, regular);
    case IntervalOp::And:
        return iv::logical(Logical::And, a, b, regular);
    case IntervalOp::Or:
        return iv::logical(Logical::Or, a, b, regular);
    case IntervalOp::Xor:
        return iv::logical(Logical::Xor, a, b, regular);
    case IntervalOp::Eqv:
        return iv::logical(Logical::Eqv, a, b, regular);
    case IntervalOp::Imp:
        return iv::logical(Logical::Imp, a, b, regular);
    case IntervalOp::Not:
        return iv::logicalNot(a, regular);
    case IntervalOp::RoundDigits:
        return iv::roundDigits(a, b, regular);
    case IntervalOp::Abs:
        return absolute(a);
    case IntervalOp::Atn:
        return iv::atan(a);
    case IntervalOp::Cos:
        return iv::cos(a);
    case IntervalOp::Exp:
        return iv::exp(a);
    case IntervalOp::Fix:
        return iv::fix(a, regular);
    case IntervalOp::Int:
        return iv::integerPart(a, regular);
    case IntervalOp::Log:
        return iv::log(a, regular);
    case IntervalOp::Round:
        return iv::round(a, regular);
    case IntervalOp::Sgn:
        return iv::sign(a, regular);
    case IntervalOp::Sin:
        return iv::sin(a);
    case IntervalOp::Sqr:
        return iv::sqrt(a, regular);
    case IntervalOp::Tan:
        return iv::tan(a, regular);
    case IntervalOp::CInt:
        return iv::toInteger(a, regular);
    case IntervalOp::CLng:
        return iv::toLong(a, regular);
    case IntervalOp::CSng:
        return iv::toSingle(a, regular);
    case IntervalOp::CBool:
        return iv::toBoolean(a, regular);
    case IntervalOp::Asin:
        return iv::asin(a, node.constant.lo, regular);
    case IntervalOp::Acos:
        return iv::acos(a, node.constant.lo, regular);
    case IntervalOp::Sinh:
        return iv::sinh(a);
    case IntervalOp::Cosh:
        return iv::cosh(a);
    case IntervalOp::Tanh:
        return iv::tanh(a);
    case IntervalOp::Asinh:
        return iv::asinh(a, regular);
    case IntervalOp::Acosh:
        return iv::acosh(a, regular);
    case IntervalOp::Atanh:
        return iv::atanh(a, regular);
    }
    return Interval::entire();
}

void computeResidualNodes(IntervalProgram &program) {
    program.residualNodes.clear();
    std::vector<std::uint8_t> reached(program.nodes.size());
    for (const std::int32_t root : program.roots) {
        std::fill(reached.begin(), reached.end(), 0);
        reached[static_cast<std::size_t>(root)] = 1;
        std::vector<std::int32_t> nodes;
        for (std::size_t i = static_cast<std::size_t>(root) + 1; i-- > 0;) {
            if (!reached[i]) continue;
            // A constant has no derivative to pass on, unless it is the residual itself.
            if (program.nodes[i].op == IntervalOp::Constant && static_cast<std::int32_t>(i) != root) continue;
            nodes.push_back(static_cast<std::int32_t>(i));
            const IntervalNode &node = program.nodes[i];
            if (node.a >= 0) reached[static_cast<std::size_t>(node.a)] = 1;
            if (node.b >= 0) reached[static_cast<std::size_t>(node.b)] = 1;
        }
        program.residualNodes.push_back(std::move(nodes));
    }
}

void IntervalWorkspace::prepare(const IntervalProgram &program) {
    values.assign(program.size(), Interval(0.0));
    alphas.assign(program.size(), Interval(0.0));
    betas.assign(program.size(), Interval(0.0));
    adjoints.assign(program.size(), Interval(0.0));
    points.assign(program.size(), 0.0);
    pointAlphas.assign(program.size(), 0.0);
    pointBetas.assign(program.size(), 0.0);
    pointAdjoints.assign(program.size(), 0.0);
}

bool evaluateIntervals(const IntervalProgram &program, const Interval *box, IntervalWorkspace &workspace) {
    bool regular = true;
    Interval *values = workspace.values.data();
    const IntervalNode *nodes = program.nodes.data();
    const std::size_t count = program.size();
    for (std::size_t i = 0; i < count; ++i) {
        const IntervalNode &node = nodes[i];
        Interval v;
        switch (node.op) {
        case IntervalOp::Variable:
            v = box[node.count];
            break;
        case IntervalOp::Constant:
            v = node.constant;
            break;
        case IntervalOp::Add:
            v = values[node.a] + values[node.b];
            break;
        case IntervalOp::Subtract:
            v = values[node.a] - values[node.b];
            break;
        case IntervalOp::Multiply:
            v = values[node.a] * values[node.b];
            break;
        case IntervalOp::Square:
            v = square(values[node.a]);
            break;
        case IntervalOp::Negate:
            v = -values[node.a];
            break;
        case IntervalOp::WholePower:
            if (node.count == 3) {
                v = cube(values[node.a]);
                break;
            }
            [[fallthrough]];
        default:
            v = applyIntervalOp(node, values[node.a], node.b >= 0 ? values[node.b] : Interval(0.0), regular);
            break;
        }
        if (v.isEmpty()) [[unlikely]] {
            workspace.regular = false;
            return false;
        }
        values[i] = v;
    }
    workspace.regular = regular;
    return true;
}

namespace {
bool isZero(const Interval &x) { return x.lo == 0 && x.hi == 0; }
}  // namespace

void evaluateJacobian(const IntervalProgram &program, IntervalWorkspace &workspace, Interval *jacobian) {
    const std::size_t n = static_cast<std::size_t>(program.variableCount);
    const Interval *values = workspace.values.data();
    Interval *alphas = workspace.alphas.data();
    Interval *betas = workspace.betas.data();
    // Each node's derivatives by its operands, once for all residuals; an
    // operand a node does not use keeps slope 0.
    for (std::size_t i = 0; i < program.size(); ++i) {
        const IntervalNode &node = program.nodes[i];
        if (node.op == IntervalOp::Variable || node.op == IntervalOp::Constant) continue;
        const Interval &a = values[node.a];
        const Slopes slopes = slopesOf(node, a, node.b >= 0 ? values[node.b] : a, values[i]);
        switch (slopes.form) {
        case Slopes::Form::Zero:
            alphas[i] = Interval(0.0);
            betas[i] = Interval(0.0);
            break;
        case Slopes::Form::Sum:
            alphas[i] = one();
            betas[i] = one();
            break;
        case Slopes::Form::Difference:
            alphas[i] = one();
            betas[i] = Interval(-1.0);
            break;
        case Slopes::Form::Unary:
        case Slopes::Form::Binary:
            alphas[i] = slopes.alpha;
            betas[i] = slopes.beta;
            break;
        }
        // Nothing flows into a constant.
        if (program.nodes[static_cast<std::size_t>(node.a)].op == IntervalOp::Constant) alphas[i] = Interval(0.0);
        if (node.b >= 0 && program.nodes[static_cast<std::size_t>(node.b)].op == IntervalOp::Constant)
            betas[i] = Interval(0.0);
    }
    Interval *adjoints = workspace.adjoints.data();
    for (std::size_t j = 0; j < program.roots.size(); ++j) {
        const std::vector<std::int32_t> &nodes = program.residualNodes[j];
        for (const std::int32_t i : nodes) adjoints[i] = Interval(0.0);
        adjoints[program.roots[j]] = one();
        Interval *row = jacobian + j * n;
        for (std::size_t k = 0; k < n; ++k) row[k] = Interval(0.0);
        for (const std::int32_t i : nodes) {
            const IntervalNode &node = program.nodes[static_cast<std::size_t>(i)];
            const Interval adjoint = adjoints[i];
            if (node.op == IntervalOp::Variable) {
                row[node.count] = row[node.count] + adjoint;
                continue;
            }
            if (node.op == IntervalOp::Constant || (adjoint.lo == 0 && adjoint.hi == 0)) continue;
            if (!isZero(alphas[i])) adjoints[node.a] = adjoints[node.a] + alphas[i] * adjoint;
            if (node.b >= 0 && !isZero(betas[i])) adjoints[node.b] = adjoints[node.b] + betas[i] * adjoint;
        }
    }
}

bool evaluatePoint(const IntervalProgram &program, const double *point, IntervalWorkspace &workspace, double *residuals,
                   double *jacobian) {
    const std::size_t n = static_cast<std::size_t>(program.variableCount);
    double *values = workspace.points.data();
    double *alphas = workspace.pointAlphas.data();
    double *betas = workspace.pointBetas.data();
    for (std::size_t i = 0; i < program.size(); ++i) {
        const IntervalNode &node = program.nodes[i];
        if (node.op == IntervalOp::Variable) {
            values[i] = point[node.count];
            continue;
        }
        const double a = node.a >= 0 ? values[node.a] : 0;
        const double b = node.b >= 0 ? values[node.b] : 0;
        const double v = pointValue(node, a, b);
        if (!std::isfinite(v)) return false;
        values[i] = v;
        pointSlopes(node, a, b, v, alphas[i], betas[i]);
    }
    double *adjoints = workspace.pointAdjoints.data();
    for (std::size_t j = 0; j < program.roots.size(); ++j) {
        residuals[j] = values[program.roots[j]];
        const std::vector<std::int32_t> &nodes = program.residualNodes[j];
        for (const std::int32_t i : nodes) adjoints[i] = 0;
        adjoints[program.roots[j]] = 1;
        double *row = jacobian + j * n;
        for (std::size_t k = 0; k < n; ++k) row[k] = 0;
        for (const std::int32_t i : nodes) {
            const IntervalNode &node = program.nodes[static_cast<std::size_t>(i)];
            const double adjoint = adjoints[i];
            if (node.op == IntervalOp::Variable) {
                row[node.count] += adjoint;
            } else if (node.op != IntervalOp::Constant && adjoint != 0) {
                adjoints[node.a] += alphas[i] * adjoint;
                if (node.b >= 0) adjoints[node.b] += betas[i] * adjoint;
            }
        }
    }
    return true;
}

}  // namespace zl
