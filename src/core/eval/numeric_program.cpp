#include "core/eval/numeric_program.h"

#include <cmath>

#include "core/eval/arithmetic.h"

namespace zl {
namespace {

using namespace arithmetic;

// A failure only needs to be noticed: the general evaluator reruns the
// expression to tell which error it was. An operation whose result can be
// infinite or NaN from finite operands is followed by this check, so no
// non-finite value ever reaches a later operation that could hide it
// (1/inf = 0, atn(inf) = pi/2, comparisons).
#define ZL_REQUIRE_FINITE(value) \
    if (!std::isfinite(value)) [[unlikely]] return false

#define ZL_REQUIRE_OK(status) \
    if ((status) != kOk) [[unlikely]] return false

} // namespace

bool runNumericProgram(const NumericProgram &program, double *stack, MathLibrary *library, double &result) {
    const NumericInstruction *instruction = program.code.data();
    double *below = stack;  // the slot under the top
    double top = 0;
    for (;; ++instruction) {
        switch (instruction->op) {
        case NumericOp::PushConstant: *++below = top; top = instruction->constant; break;
        case NumericOp::PushVariable: *++below = top; top = *instruction->variable; break;
        case NumericOp::PushErrorNumber: *++below = top; top = *instruction->errorNumber; break;
        case NumericOp::PushSquare: {
            *++below = top;
            const double v = *instruction->variable;
            top = v * v;
            ZL_REQUIRE_FINITE(top);
            break;
        }
        case NumericOp::PushCall:
            *++below = top;
            top = instruction->function(*instruction->variable);
            ZL_REQUIRE_FINITE(top);
            break;

        case NumericOp::AddConstant: top += instruction->constant; ZL_REQUIRE_FINITE(top); break;
        case NumericOp::SubtractConstant: top -= instruction->constant; ZL_REQUIRE_FINITE(top); break;
        case NumericOp::MultiplyConstant: top *= instruction->constant; ZL_REQUIRE_FINITE(top); break;
        case NumericOp::DivideConstant: top /= instruction->constant; ZL_REQUIRE_FINITE(top); break;
        case NumericOp::AddVariable: top += *instruction->variable; ZL_REQUIRE_FINITE(top); break;
        case NumericOp::SubtractVariable: top -= *instruction->variable; ZL_REQUIRE_FINITE(top); break;
        case NumericOp::MultiplyVariable: top *= *instruction->variable; ZL_REQUIRE_FINITE(top); break;
        case NumericOp::DivideVariable: top /= *instruction->variable; ZL_REQUIRE_FINITE(top); break;
        case NumericOp::AddSquare:
        case NumericOp::SubtractSquare:
        case NumericOp::MultiplySquare: {
            const double v = *instruction->variable;
            const double square = v * v;
            ZL_REQUIRE_FINITE(square);
            top = instruction->op == NumericOp::AddSquare        ? top + square
                  : instruction->op == NumericOp::SubtractSquare ? top - square
                                                                 : top * square;
            ZL_REQUIRE_FINITE(top);
            break;
        }

        case NumericOp::Add: top = *below-- + top; ZL_REQUIRE_FINITE(top); break;
        case NumericOp::Subtract: top = *below-- - top; ZL_REQUIRE_FINITE(top); break;
        case NumericOp::Multiply: top = *below-- * top; ZL_REQUIRE_FINITE(top); break;
        case NumericOp::Divide: top = *below-- / top; ZL_REQUIRE_FINITE(top); break;
        case NumericOp::Power: ZL_REQUIRE_OK(power(*below--, top, top)); break;
        case NumericOp::IntegerDivide: ZL_REQUIRE_OK(integerDivide(*below--, top, top)); break;
        case NumericOp::Modulo: ZL_REQUIRE_OK(modulo(*below--, top, top)); break;
        case NumericOp::Equal: top = truth(*below-- == top); break;
        case NumericOp::NotEqual: top = truth(*below-- != top); break;
        case NumericOp::Less: top = truth(*below-- < top); break;
        case NumericOp::Greater: top = truth(*below-- > top); break;
        case NumericOp::LessEqual: top = truth(*below-- <= top); break;
        case NumericOp::GreaterEqual: top = truth(*below-- >= top); break;
        case NumericOp::And: ZL_REQUIRE_OK(bitwise(Bitwise::And, *below--, top, top)); break;
        case NumericOp::Or: ZL_REQUIRE_OK(bitwise(Bitwise::Or, *below--, top, top)); break;
        case NumericOp::Xor: ZL_REQUIRE_OK(bitwise(Bitwise::Xor, *below--, top, top)); break;
        case NumericOp::Eqv: ZL_REQUIRE_OK(bitwise(Bitwise::Eqv, *below--, top, top)); break;
        case NumericOp::Imp: ZL_REQUIRE_OK(bitwise(Bitwise::Imp, *below--, top, top)); break;
        case NumericOp::RoundDigits: ZL_REQUIRE_OK(roundToDigits(*below--, top, top)); break;

        case NumericOp::Negate: top = -top; break;
        case NumericOp::Not: ZL_REQUIRE_OK(bitwiseNot(top, top)); break;
        case NumericOp::Square: top = top * top; ZL_REQUIRE_FINITE(top); break;
        case NumericOp::WholePower: ZL_REQUIRE_OK(wholePower(top, instruction->count, top)); break;
        case NumericOp::PowerConstant: ZL_REQUIRE_OK(power(top, instruction->constant, top)); break;
        case NumericOp::Call: top = instruction->function(top); ZL_REQUIRE_FINITE(top); break;
        case NumericOp::CallLibrary: top = instruction->libraryFunction(*library, top); break;
        case NumericOp::Fail: return false;
        case NumericOp::Return: result = top; return true;
        }
    }
}

} // namespace zl
