#pragma once
// A compiled expression over doubles only: a flat list of instructions for a
// stack machine whose top is kept in a register. It is used when every value
// the expression can meet is a number (no text), and it only detects that
// something failed; the general evaluator then reruns the expression to find
// which error it is and where.

#include <cstdint>
#include <vector>

#include "core/eval/builtin_functions.h"

namespace zl {

class MathLibrary;

/// The instructions, in one list so that the runner's dispatch table
/// follows the enum. The top of the stack lives in a register.
#define ZL_NUMERIC_OPS(X)                                                                                              \
    /* Push the top, then load a new one. */                                                                           \
    X(PushConstant)                                                                                                    \
    X(PushVariable)                                                                                                    \
    X(PushErrorNumber) /* the library's 32-bit ierr */                                                                 \
    X(PushSquare)      /* variable * variable */                                                                       \
    X(PushCall)        /* function(variable) */                                                                        \
    X(PushCube)        /* (variable * variable) * variable */                                                          \
    X(PushScaled)      /* constant * second variable */                                                                \
    X(PushSum)         /* variable + second variable */                                                                \
    X(PushDifference)  /* variable - second variable */                                                                \
    X(PushProduct)     /* variable * second variable */                                                                \
    /* top = top op operand, the operand named by the instruction. */                                                  \
    X(AddConstant)                                                                                                     \
    X(SubtractConstant)                                                                                                \
    X(MultiplyConstant)                                                                                                \
    X(DivideConstant)                                                                                                  \
    X(AddVariable)                                                                                                     \
    X(SubtractVariable)                                                                                                \
    X(MultiplyVariable)                                                                                                \
    X(DivideVariable)                                                                                                  \
    X(AddSquare)                                                                                                       \
    X(SubtractSquare)                                                                                                  \
    X(MultiplySquare)                                                                                                  \
    X(AddCube)                                                                                                         \
    X(SubtractCube)                                                                                                    \
    X(MultiplyCube)                                                                                                    \
    X(AddCall) /* top + function(variable) */                                                                          \
    X(SubtractCall)                                                                                                    \
    X(MultiplyCall)                                                                                                    \
    /* top = popped op top. */                                                                                         \
    X(Add)                                                                                                             \
    X(Subtract)                                                                                                        \
    X(Multiply)                                                                                                        \
    X(Divide)                                                                                                          \
    X(Power)                                                                                                           \
    X(IntegerDivide)                                                                                                   \
    X(Modulo)                                                                                                          \
    X(Equal)                                                                                                           \
    X(NotEqual)                                                                                                        \
    X(Less)                                                                                                            \
    X(Greater)                                                                                                         \
    X(LessEqual)                                                                                                       \
    X(GreaterEqual)                                                                                                    \
    X(And)                                                                                                             \
    X(Or)                                                                                                              \
    X(Xor)                                                                                                             \
    X(Eqv)                                                                                                             \
    X(Imp)                                                                                                             \
    X(RoundDigits) /* top = Round(popped, top) */                                                                      \
    /* top = f(top). */                                                                                                \
    X(Negate)                                                                                                          \
    X(Not)                                                                                                             \
    X(Square)                                                                                                          \
    X(Cube)       /* (top * top) * top */                                                                              \
    X(SquareRoot) /* Sqr without a call; a negative top gives NaN */                                                   \
    X(Absolute)                                                                                                        \
    X(WholePower)    /* top ^ count, count a small whole number */                                                     \
    X(PowerConstant) /* top ^ constant */                                                                              \
    X(Call)          /* a built-in function that keeps a non-finite argument non-finite */                             \
    X(CallChecked)   /* a built-in function that may not (Exp, Atn, Sgn, CBool) */                                     \
    X(CallLibrary)   /* a math-library function */                                                                     \
    X(Fail)          /* the expression cannot be computed here */                                                      \
    /* The last step of a residual "left-(right)" together with the return. */                                         \
    X(SubtractReturn)                                                                                                  \
    X(SubtractConstantReturn)                                                                                          \
    X(SubtractVariableReturn)                                                                                          \
    /* The same after a binary step: top = (popped op top) - operand, returned. */                                     \
    X(AddThenSubtractConstantReturn)                                                                                   \
    X(SubtractThenSubtractConstantReturn)                                                                              \
    X(MultiplyThenSubtractConstantReturn)                                                                              \
    X(AddThenSubtractVariableReturn)                                                                                   \
    X(SubtractThenSubtractVariableReturn)                                                                              \
    X(MultiplyThenSubtractVariableReturn)                                                                              \
    X(Return)

enum class NumericOp : std::uint8_t {
#define ZL_NUMERIC_OP_ENUMERATOR(name) name,
    ZL_NUMERIC_OPS(ZL_NUMERIC_OP_ENUMERATOR)
#undef ZL_NUMERIC_OP_ENUMERATOR
};

struct NumericInstruction {
    /// Where the runner's code for `op` starts; set by linkNumericProgram so
    /// that each step jumps straight to the next without a table look-up.
    const void *handler = nullptr;
    NumericOp op = NumericOp::Return;
    std::int32_t count = 0;
    union {
        double constant;
        const double *variable;
        const std::int32_t *errorNumber;
        LibraryEntryPoint libraryFunction;
    };
    union {
        FastFunction function;
        MathLibrary *library;          ///< CallLibrary
        const double *secondVariable;  ///< PushScaled, PushSum, PushDifference, PushProduct
    };

    NumericInstruction() : constant(0), function(nullptr) {}
};

struct NumericProgram {
    std::vector<NumericInstruction> code;
    std::int32_t maxDepth = 0;  ///< stack slots the program needs below its top
    /// True when the program calls the math library or reads its ierr; only
    /// then can the library's error number change while it runs.
    bool touchesLibrary = false;
};

/// Gives every instruction the address of its code in the runner. A program
/// must be linked once before it runs; copies stay linked.
void linkNumericProgram(NumericProgram &program);

/// Runs a program with a stack of at least maxDepth + 1 slots. Returns the
/// result, which is always finite, or NaN when some step failed (division by
/// zero, a domain error, an overflow, a conversion out of range, or a Fail
/// instruction).
///
/// Every such failure shows as an infinite or NaN value or as a failed
/// conversion, so most steps are not checked at all: a non-finite value
/// passes unchanged through +, -, *, a dividend, Sqr, Log, Sin... and is
/// caught at the end or at the first step that could hide it (a divisor,
/// a comparison, Exp, Atn, ^, a library function).
double runNumericProgram(const NumericProgram &program, double *stack);

}  // namespace zl
