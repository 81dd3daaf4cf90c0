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

enum class NumericOp : std::uint8_t {
    // Push the top, then load a new one.
    PushConstant,
    PushVariable,
    PushErrorNumber,  ///< the library's 32-bit ierr
    PushSquare,       ///< variable * variable
    PushCall,         ///< function(variable)
    // top = top op operand, the operand named by the instruction.
    AddConstant,
    SubtractConstant,
    MultiplyConstant,
    DivideConstant,
    AddVariable,
    SubtractVariable,
    MultiplyVariable,
    DivideVariable,
    AddSquare,
    SubtractSquare,
    MultiplySquare,
    // top = popped op top.
    Add,
    Subtract,
    Multiply,
    Divide,
    Power,
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
    RoundDigits,  ///< top = Round(popped, top)
    // top = f(top).
    Negate,
    Not,
    Square,
    WholePower,     ///< top ^ count, count a small whole number
    PowerConstant,  ///< top ^ constant
    Call,           ///< a built-in function
    CallLibrary,    ///< a math-library function
    Fail,           ///< the expression cannot be computed here
    Return,
};

struct NumericInstruction {
    NumericOp op = NumericOp::Return;
    std::int32_t count = 0;
    union {
        double constant;
        const double *variable;
        const std::int32_t *errorNumber;
        LibraryEntryPoint libraryFunction;
    };
    FastFunction function = nullptr;

    NumericInstruction() : constant(0) {}
};

struct NumericProgram {
    std::vector<NumericInstruction> code;
    std::int32_t maxDepth = 0;  ///< stack slots the program needs below its top
};

/// Runs a program with a stack of at least maxDepth + 1 slots. True and the
/// result, or false when some step failed (division by zero, a domain error,
/// an overflow, a conversion out of range, or a Fail instruction).
bool runNumericProgram(const NumericProgram &program, double *stack, MathLibrary *library, double &result);

} // namespace zl
