#pragma once
// The numbered errors the engine raises. Each number has one message; the
// example after /// is an input that raises it.

#include <cstdint>
#include <span>

namespace zl {

enum class ScriptErrorCode : std::int32_t {
    /// Sqr(-1), Log(0), (-8)^(1/3), Round(2.5, -1)
    InvalidProcedureCall = 5,
    /// 1E308*10, 0/0, Exp(710), CInt(40000), 3E9 \ 2
    Overflow = 6,
    /// an expression of more than a million operands, more than kMaxGlobals names
    OutOfMemory = 7,
    /// residual 3 of a system of two equations
    SubscriptOutOfRange = 9,
    /// 1/0, 5\0, 5 Mod 0, 0^-1
    DivisionByZero = 11,
    /// "abc"*2, Foo(1) with Foo unknown, a(1) with a a variable
    TypeMismatch = 13,
    /// s = s & s until s is longer than kMaxTextLength, or the texts held by
    /// all variables together beyond kMaxStringSpace
    OutOfStringSpace = 14,
    /// 100000 nested parentheses
    OutOfStackSpace = 28,
    /// Null + 1
    InvalidUseOfNull = 94,
    /// a.b with a no object, Nothing + 1
    ObjectRequired = 424,
    /// sh + 1, sh.Foo
    ObjectDoesNotSupport = 438,
    /// Sin(1, 2), Sin, sh.Asin = 1
    WrongNumberOfArguments = 450,
    /// q + 1 with q never assigned
    VariableUndefined = 500,
    /// Sin = 1, sh = 1
    IllegalAssignment = 501,
    /// 1 +, * 2
    SyntaxError = 1002,
    /// (1 + 2
    ExpectedCloseParenthesis = 1006,
    /// dim 1, sh.(1)
    ExpectedIdentifier = 1010,
    /// a b = 1
    ExpectedEquals = 1011,
    /// = 1, 2x = 1
    ExpectedStatement = 1024,
    /// 1 2, (1) : 2 in an expression
    ExpectedEndOfStatement = 1025,
    /// &H100000000, 1E999, 1E
    InvalidNumber = 1031,
    /// 2 $ 3
    InvalidCharacter = 1032,
    /// "abc
    UnterminatedString = 1033,
};

constexpr std::int32_t errorNumber(ScriptErrorCode code) { return static_cast<std::int32_t>(code); }

/// Every code of the catalogue, for the check that each has its message.
std::span<const ScriptErrorCode> allScriptErrorCodes();

/// Compilation errors (the 1000s) are found before anything runs; the rest at run time.
constexpr bool isCompilationError(std::int32_t number) { return number >= 1000 && number < 1100; }

}  // namespace zl
