#pragma once
// A compiled expression over doubles only: a flat list of instructions for a
// stack machine whose top is kept in a register. It is used when every value
// the expression can meet is a number (no text), and it only detects that
// something failed; the general evaluator then reruns the expression to find
// which error it is and where.
//
// A program computes one or more results in order: the residuals of a system
// can be joined into one program, so that a point costs one run.

#include <cstdint>
#include <span>
#include <vector>

#include "core/eval/builtin_functions.h"

/// The runner jumps from each step straight to the next through label
/// addresses (computed goto, an extension of GCC and Clang). Elsewhere, or
/// when defined as 0, the runner dispatches with a switch.
#ifndef ZL_NUMERIC_THREADED_DISPATCH
#if defined(__GNUC__)
#define ZL_NUMERIC_THREADED_DISPATCH 1
#else
#define ZL_NUMERIC_THREADED_DISPATCH 0
#endif
#endif

namespace zl {

class MathLibrary;

/// The instructions, in one list so that the runner's dispatch table
/// follows the enum. The top of the stack lives in a register.
#define ZL_NUMERIC_OPS(X)                                                                                              \
    /* *target = inputs[count], failing when it is not finite. */                                                      \
    X(TakeInput)                                                                                                       \
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
    X(WholePower)            /* top ^ count, count a small whole number */                                             \
    X(PowerConstant)         /* top ^ constant */                                                                      \
    X(Call)                  /* a built-in function that keeps a non-finite argument non-finite */                     \
    X(CallChecked)           /* a built-in function that may not (Exp, Atn, Sgn, CBool) */                             \
    X(CallLibrary)           /* a math-library function */                                                             \
    X(Fail)                  /* the expression cannot be computed here */                                              \
    X(RequireNoLibraryError) /* fails when the library's error number is set */                                        \
    /* The end of a result: stored as result `count` when finite, else failed. */                                      \
    /* The store steps, Store to MultiplyThenSubtractVariableStore, stay together. */                                  \
    X(Store)                                                                                                           \
    /* The last step of a residual "left-(right)" together with the store. */                                          \
    X(SubtractStore)                                                                                                   \
    X(SubtractConstantStore)                                                                                           \
    X(SubtractVariableStore)                                                                                           \
    X(SubtractProductStore) /* top - variable * second variable */                                                     \
    /* The same after a binary step: top = (popped op top) - operand, stored. */                                       \
    X(AddThenSubtractConstantStore)                                                                                    \
    X(SubtractThenSubtractConstantStore)                                                                               \
    X(MultiplyThenSubtractConstantStore)                                                                               \
    X(AddThenSubtractVariableStore)                                                                                    \
    X(SubtractThenSubtractVariableStore)                                                                               \
    X(MultiplyThenSubtractVariableStore)                                                                               \
    X(End) /* every result stored: count of them */

enum class NumericOp : std::uint8_t {
#define ZL_NUMERIC_OP_ENUMERATOR(name) name,
    ZL_NUMERIC_OPS(ZL_NUMERIC_OP_ENUMERATOR)
#undef ZL_NUMERIC_OP_ENUMERATOR
};

struct NumericInstruction {
    /// Where the runner's code for `op` starts; set by linkNumericProgram so
    /// that each step jumps straight to the next without a table look-up.
    const void *handler = nullptr;
    NumericOp op = NumericOp::End;
    std::int32_t count = 0;  ///< WholePower's exponent; the result index of a store; End's result count
    union {
        double constant;
        const double *variable;
        const std::int32_t *errorNumber;  ///< PushErrorNumber, RequireNoLibraryError
        LibraryEntryPoint libraryFunction;
    };
    union {
        FastFunction function;
        MathLibrary *library;          ///< CallLibrary
        const double *secondVariable;  ///< PushScaled, PushSum, PushDifference, PushProduct, SubtractProductStore
        double *target;                ///< TakeInput
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

/// One program computing the results of `programs` in their order, linked,
/// that first takes input i of its run into *inputTargets[i]. A part that
/// touches the library fails when it leaves the library's error number,
/// `libraryErrorNumber`, set: the joined program stops where one evaluation
/// after the other would first see a failure.
NumericProgram joinNumericPrograms(std::span<double *const> inputTargets,
                                   std::span<const NumericProgram *const> programs,
                                   const std::int32_t *libraryErrorNumber);

/// What a run works with beside its program: a stack of at least maxDepth + 1
/// slots, the inputs its TakeInput steps read, and where result i goes: its
/// value in values[i] and 0 (the status of a result that succeeded) in
/// statuses[i].
///
/// A frame may hold several points (`points` above 1): the program then runs
/// once per point, point k reading its inputs from inputs + k * inputStride
/// and storing its results at values and statuses + k * (result count), until
/// the first failure. One run of several points saves the call and set-up of
/// a run per point.
struct NumericFrame {
    double *stack = nullptr;
    const double *inputs = nullptr;
    double *values = nullptr;
    std::int32_t *statuses = nullptr;
    std::int32_t points = 1;
    std::int32_t inputStride = 0;
};

/// Runs a program. Returns how many results it stored before the first
/// failure: the result count (times the points) when nothing failed, else
/// the index of the result whose computation failed, counted over the points (a non-finite input, division by zero, a
/// domain error, an overflow, a conversion out of range, or a Fail
/// instruction). Stored values are finite.
///
/// Every such failure shows as an infinite or NaN value or as a failed
/// conversion, so most steps are not checked at all: a non-finite value
/// passes unchanged through +, -, *, a dividend, Sqr, Log, Sin... and is
/// caught at the store or at the first step that could hide it (a divisor,
/// a comparison, Exp, Atn, ^, a library function).
///
/// A library function that fails records its number in the library and
/// returns 0: the caller sees such a failure only in the library's ierr.
std::int32_t runNumericProgram(const NumericProgram &program, const NumericFrame &frame);

/// The same run dispatched by a switch: the form for compilers without
/// computed goto, kept built everywhere so that tests compare both.
std::int32_t runNumericProgramBySwitch(const NumericProgram &program, const NumericFrame &frame);

}  // namespace zl
