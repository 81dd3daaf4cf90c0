#pragma once
// The residuals of a system as one program over intervals: a list of nodes
// in which every operand comes before its users, shared subexpressions held
// once. Nodes 0..variableCount-1 are the variables. Evaluated over a box it
// encloses every residual's values there; a backward sweep per residual then
// encloses its row of the Jacobian (reverse-mode differentiation: each node's
// local derivatives, multiplied along every path to the variables); at a
// point it gives plain double values and the Jacobian for a quick Newton
// iteration.

#include <cstdint>
#include <vector>

#include "core/eval/interval.h"

namespace zl {

enum class IntervalOp : std::uint8_t {
    Variable,  ///< count: the variable's index
    Constant,  ///< constant
    Add,
    Subtract,
    Multiply,
    Divide,
    Negate,
    Square,
    WholePower,     ///< a ^ count, |count| <= 16
    ConstantPower,  ///< a ^ constant.lo
    Power,          ///< a ^ b
    IntegerDivide,
    Modulo,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
    And,
    Or,
    Xor,
    Eqv,
    Imp,
    Not,
    RoundDigits,  ///< Round(a, b)
    Abs,
    Atn,
    Cos,
    Exp,
    Fix,
    Int,
    Log,
    Round,
    Sgn,
    Sin,
    Sqr,
    Tan,
    CInt,
    CLng,
    CSng,
    CBool,
    Asin,  ///< constant.lo: the library's halfpi
    Acos,  ///< constant.lo: the library's halfpi
    Sinh,
    Cosh,
    Tanh,
    Asinh,
    Acosh,
    Atanh,
};

struct IntervalNode {
    IntervalOp op = IntervalOp::Constant;
    std::int32_t a = -1;  ///< first operand node
    std::int32_t b = -1;  ///< second operand node
    std::int32_t count = 0;
    Interval constant;
};

struct IntervalProgram {
    std::int32_t variableCount = 0;
    std::vector<IntervalNode> nodes;
    std::vector<std::int32_t> roots;  ///< the node of each residual
    /// Per residual, the nodes it reaches, highest index first (its backward sweep).
    std::vector<std::vector<std::int32_t>> residualNodes;

    std::size_t size() const { return nodes.size(); }
};

/// Scratch space of one evaluating thread, sized for one program.
struct IntervalWorkspace {
    std::vector<Interval> values;    ///< per node
    std::vector<Interval> alphas;    ///< per node, the derivative by its first operand
    std::vector<Interval> betas;     ///< per node, the derivative by its second operand
    std::vector<Interval> adjoints;  ///< per node, during a backward sweep
    std::vector<double> points;      ///< per node, point evaluation
    std::vector<double> pointAlphas;
    std::vector<double> pointBetas;
    std::vector<double> pointAdjoints;
    bool regular = true;  ///< every node defined and continuous on the box

    void prepare(const IntervalProgram &program);
};

/// Encloses every node over `box` (variableCount intervals). Returns false
/// when some node is empty there: no point of the box makes every residual
/// computable, so the box holds no root.
bool evaluateIntervals(const IntervalProgram &program, const Interval *box, IntervalWorkspace &workspace);

/// After evaluateIntervals: encloses the Jacobian over the same box into
/// `jacobian` (row-major, residuals by variables). Only meaningful while
/// workspace.regular holds.
void evaluateJacobian(const IntervalProgram &program, IntervalWorkspace &workspace, Interval *jacobian);

/// The residual values and the Jacobian (row-major, residuals by variables)
/// at a point in plain double arithmetic; false when some value is not finite.
bool evaluatePoint(const IntervalProgram &program, const double *point, IntervalWorkspace &workspace, double *residuals,
                   double *jacobian);

/// Computes what a node gives from its operands' values (used by evaluation
/// and by compile-time folding). Clears `regular` as the functions do.
Interval applyIntervalOp(const IntervalNode &node, const Interval &a, const Interval &b, bool &regular);

/// Fills program.residualNodes from the nodes and roots.
void computeResidualNodes(IntervalProgram &program);

}  // namespace zl
