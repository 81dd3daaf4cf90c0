#include "core/eval/numeric_program.h"

#include <cmath>
#include <limits>

#include "core/eval/arithmetic.h"

namespace zl {

using namespace arithmetic;

namespace {
constexpr double kFailed = std::numeric_limits<double>::quiet_NaN();
}  // namespace

// A failure only needs to be noticed: the general evaluator reruns the
// expression to tell which error it was (see the header for where checks are).
//
// Dispatch is threaded: every instruction jumps straight to the next one's
// code through a table, so each jump is predicted on its own. `top` is never
// passed by reference, so that it stays in a register.
namespace {

/// The runner itself. Called with `handlers` set, it only reports where the
/// code of each instruction starts (label addresses exist only in here).
// The labels and jumps of the runner read best as they are laid out by hand.
// clang-format off
double execute(const NumericInstruction *instruction, double *stack, const void *const **handlers) {
    static constexpr const void *kHandlers[] = {
#define ZL_NUMERIC_OP_LABEL(name) &&op_##name,
        ZL_NUMERIC_OPS(ZL_NUMERIC_OP_LABEL)
#undef ZL_NUMERIC_OP_LABEL
    };
    if (handlers) [[unlikely]] {
        *handlers = kHandlers;
        return 0;
    }

    double *below = stack;  // the slot under the top
    double top = 0;

#define ZL_NEXT() goto *(++instruction)->handler
#define ZL_REQUIRE_FINITE(value) \
    if (!std::isfinite(value)) [[unlikely]] return kFailed
#define ZL_COMPUTE(call)                              \
    {                                                 \
        double computed = 0;                          \
        if ((call) != kOk) [[unlikely]] return kFailed; \
        top = computed;                               \
    }                                                 \
    ZL_NEXT()

    goto *instruction->handler;

op_PushConstant:
    *++below = top;
    top = instruction->constant;
    ZL_NEXT();
op_PushVariable:
    *++below = top;
    top = *instruction->variable;
    ZL_NEXT();
op_PushErrorNumber:
    *++below = top;
    top = *instruction->errorNumber;
    ZL_NEXT();
op_PushSquare: {
    *++below = top;
    const double v = *instruction->variable;
    top = v * v;
    ZL_NEXT();
}
op_PushCall:
    *++below = top;
    top = instruction->function(*instruction->variable);
    ZL_NEXT();
op_PushCube: {
    *++below = top;
    const double v = *instruction->variable;
    top = (v * v) * v;
    ZL_NEXT();
}
op_PushScaled:
    *++below = top;
    top = instruction->constant * *instruction->secondVariable;
    ZL_NEXT();
op_PushSum:
    *++below = top;
    top = *instruction->variable + *instruction->secondVariable;
    ZL_NEXT();
op_PushDifference:
    *++below = top;
    top = *instruction->variable - *instruction->secondVariable;
    ZL_NEXT();
op_PushProduct:
    *++below = top;
    top = *instruction->variable * *instruction->secondVariable;
    ZL_NEXT();

op_AddConstant:
    top += instruction->constant;
    ZL_NEXT();
op_SubtractConstant:
    top -= instruction->constant;
    ZL_NEXT();
op_MultiplyConstant:
    top *= instruction->constant;
    ZL_NEXT();
op_DivideConstant:
    top /= instruction->constant;
    ZL_NEXT();
op_AddVariable:
    top += *instruction->variable;
    ZL_NEXT();
op_SubtractVariable:
    top -= *instruction->variable;
    ZL_NEXT();
op_MultiplyVariable:
    top *= *instruction->variable;
    ZL_NEXT();
op_DivideVariable:
    top /= *instruction->variable;
    ZL_NEXT();
op_AddSquare: {
    const double v = *instruction->variable;
    top += v * v;
    ZL_NEXT();
}
op_SubtractSquare: {
    const double v = *instruction->variable;
    top -= v * v;
    ZL_NEXT();
}
op_MultiplySquare: {
    // An infinite square times a zero top would be NaN anyway; times
    // anything else it stays infinite.
    const double v = *instruction->variable;
    top *= v * v;
    ZL_NEXT();
}
op_AddCube: {
    const double v = *instruction->variable;
    top += (v * v) * v;
    ZL_NEXT();
}
op_SubtractCube: {
    const double v = *instruction->variable;
    top -= (v * v) * v;
    ZL_NEXT();
}
op_MultiplyCube: {
    const double v = *instruction->variable;
    top *= (v * v) * v;
    ZL_NEXT();
}
// A failed call gives a non-finite value, which +, - and * keep.
op_AddCall:
    top += instruction->function(*instruction->variable);
    ZL_NEXT();
op_SubtractCall:
    top -= instruction->function(*instruction->variable);
    ZL_NEXT();
op_MultiplyCall:
    top *= instruction->function(*instruction->variable);
    ZL_NEXT();

op_Add:
    top = *below-- + top;
    ZL_NEXT();
op_Subtract:
    top = *below-- - top;
    ZL_NEXT();
op_Multiply:
    top = *below-- * top;
    ZL_NEXT();
op_Divide:
    ZL_REQUIRE_FINITE(top);  // x / inf would be 0
    top = *below-- / top;
    ZL_NEXT();
op_Power:
    ZL_REQUIRE_FINITE(top);
    ZL_REQUIRE_FINITE(*below);
    ZL_COMPUTE(power(*below--, top, computed));
op_IntegerDivide:
    ZL_COMPUTE(integerDivide(*below--, top, computed));
op_Modulo:
    ZL_COMPUTE(modulo(*below--, top, computed));
#define ZL_COMPARE(relation)                                    \
    ZL_REQUIRE_FINITE(top);                                     \
    ZL_REQUIRE_FINITE(*below);                                  \
    top = truth(*below-- relation top);                         \
    ZL_NEXT()
op_Equal:
    ZL_COMPARE(==);
op_NotEqual:
    ZL_COMPARE(!=);
op_Less:
    ZL_COMPARE(<);
op_Greater:
    ZL_COMPARE(>);
op_LessEqual:
    ZL_COMPARE(<=);
op_GreaterEqual:
    ZL_COMPARE(>=);
#undef ZL_COMPARE
op_And:
    ZL_COMPUTE(bitwise(Bitwise::And, *below--, top, computed));
op_Or:
    ZL_COMPUTE(bitwise(Bitwise::Or, *below--, top, computed));
op_Xor:
    ZL_COMPUTE(bitwise(Bitwise::Xor, *below--, top, computed));
op_Eqv:
    ZL_COMPUTE(bitwise(Bitwise::Eqv, *below--, top, computed));
op_Imp:
    ZL_COMPUTE(bitwise(Bitwise::Imp, *below--, top, computed));
op_RoundDigits:
    ZL_COMPUTE(roundToDigits(*below--, top, computed));

op_Negate:
    top = -top;
    ZL_NEXT();
op_Not:
    ZL_COMPUTE(bitwiseNot(top, computed));
op_Square:
    top = top * top;
    ZL_NEXT();
op_Cube:
    top = (top * top) * top;
    ZL_NEXT();
op_SquareRoot:
    top = std::sqrt(top);
    ZL_NEXT();
op_Absolute:
    top = std::fabs(top);
    ZL_NEXT();
op_WholePower:
    ZL_REQUIRE_FINITE(top);  // inf^0 = 1, inf^-1 = 0
    ZL_COMPUTE(wholePower(top, instruction->count, computed));
op_PowerConstant:
    ZL_REQUIRE_FINITE(top);
    ZL_COMPUTE(power(top, instruction->constant, computed));
op_Call:
    top = instruction->function(top);
    ZL_NEXT();
op_CallChecked:
    ZL_REQUIRE_FINITE(top);
    top = instruction->function(top);
    ZL_NEXT();
op_CallLibrary:
    ZL_REQUIRE_FINITE(top);
    top = instruction->libraryFunction(*instruction->library, top);
    ZL_NEXT();
op_Fail:
    return kFailed;
op_SubtractReturn:
    top = *below-- - top;
    goto op_Return;
op_SubtractConstantReturn:
    top -= instruction->constant;
    goto op_Return;
op_SubtractVariableReturn:
    top -= *instruction->variable;
    goto op_Return;
op_AddThenSubtractConstantReturn:
    top = (*below-- + top) - instruction->constant;
    goto op_Return;
op_SubtractThenSubtractConstantReturn:
    top = (*below-- - top) - instruction->constant;
    goto op_Return;
op_MultiplyThenSubtractConstantReturn:
    top = (*below-- * top) - instruction->constant;
    goto op_Return;
op_AddThenSubtractVariableReturn:
    top = (*below-- + top) - *instruction->variable;
    goto op_Return;
op_SubtractThenSubtractVariableReturn:
    top = (*below-- - top) - *instruction->variable;
    goto op_Return;
op_MultiplyThenSubtractVariableReturn:
    top = (*below-- * top) - *instruction->variable;
    goto op_Return;
op_Return:
    ZL_REQUIRE_FINITE(top);
    return top;

#undef ZL_NEXT
#undef ZL_REQUIRE_FINITE
#undef ZL_COMPUTE
}
// clang-format on

}  // namespace

void linkNumericProgram(NumericProgram &program) {
    const void *const *handlers = nullptr;
    execute(nullptr, nullptr, &handlers);
    for (NumericInstruction &instruction : program.code)
        instruction.handler = handlers[static_cast<std::size_t>(instruction.op)];
}

double runNumericProgram(const NumericProgram &program, double *stack) {
    return execute(program.code.data(), stack, nullptr);
}

}  // namespace zl
