#pragma once
// The numbered errors the engine raises, written once: the enum, the names and
// the messages below are all generated from this one table, so no number can
// lack its message. The comment after each row is an input that raises it.

#include <array>
#include <cstdint>
#include <string_view>

#include "core/problem/residual_system.h"

namespace zl {

// clang-format off
#define ZL_SCRIPT_ERRORS(X)                                                                         \
    /* Sqr(-1), Log(0), (-8)^(1/3), Round(2.5, -1) */                                               \
    X(InvalidProcedureCall, 5, "Invalid procedure call or argument")                                \
    /* 1E308*10, 0/0, Exp(710), CInt(40000), 3E9 \ 2 */                                             \
    X(Overflow, 6, "Overflow")                                                                      \
    /* an expression of more than a million operands, more than kMaxGlobals names */                 \
    X(OutOfMemory, 7, "Out of memory")                                                              \
    /* residual 3 of a system of two equations */                                                   \
    X(SubscriptOutOfRange, 9, "Subscript out of range")                                             \
    /* 1/0, 5\0, 5 Mod 0, 0^-1 */                                                                   \
    X(DivisionByZero, 11, "Division by zero")                                                       \
    /* "abc"*2, Foo(1) with Foo unknown, a(1) with a a variable */                                  \
    X(TypeMismatch, 13, "Type mismatch")                                                            \
    /* s = s & s beyond kMaxTextLength, or all texts held together beyond kMaxStringSpace */         \
    X(OutOfStringSpace, 14, "Out of string space")                                                  \
    /* 100000 nested parentheses */                                                                 \
    X(OutOfStackSpace, 28, "Out of stack space")                                                    \
    /* Null + 1 */                                                                                  \
    X(InvalidUseOfNull, 94, "Invalid use of Null")                                                  \
    /* a.b with a no object, Nothing + 1 */                                                         \
    X(ObjectRequired, 424, "Object required")                                                       \
    /* sh + 1, sh.Foo */                                                                            \
    X(ObjectDoesNotSupport, 438, "Object doesn't support this property or method")                  \
    /* Sin(1, 2), Sin, sh.Asin = 1 */                                                               \
    X(WrongNumberOfArguments, 450, "Wrong number of arguments or invalid property assignment")      \
    /* q + 1 with q never assigned */                                                               \
    X(VariableUndefined, 500, "Variable is undefined")                                              \
    /* Sin = 1, sh = 1 */                                                                           \
    X(IllegalAssignment, 501, "Illegal assignment")                                                 \
    /* 1 +, * 2 */                                                                                  \
    X(SyntaxError, 1002, "Syntax error")                                                            \
    /* (1 + 2 */                                                                                    \
    X(ExpectedCloseParenthesis, 1006, "Expected ')'")                                               \
    /* dim 1, sh.(1) */                                                                             \
    X(ExpectedIdentifier, 1010, "Expected identifier")                                              \
    /* a b = 1 */                                                                                   \
    X(ExpectedEquals, 1011, "Expected '='")                                                         \
    /* = 1, 2x = 1 */                                                                               \
    X(ExpectedStatement, 1024, "Expected statement")                                                \
    /* 1 2, (1) : 2 in an expression */                                                             \
    X(ExpectedEndOfStatement, 1025, "Expected end of statement")                                    \
    /* &H100000000, 1E999, 1E */                                                                    \
    X(InvalidNumber, 1031, "Invalid number")                                                        \
    /* 2 $ 3 */                                                                                     \
    X(InvalidCharacter, 1032, "Invalid character")                                                  \
    /* "abc */                                                                                      \
    X(UnterminatedString, 1033, "Unterminated string constant")
// clang-format on

enum class ScriptErrorCode : std::int32_t {
#define ZL_SCRIPT_ERROR_ENUMERATOR(name, number, message) name = number,
    ZL_SCRIPT_ERRORS(ZL_SCRIPT_ERROR_ENUMERATOR)
#undef ZL_SCRIPT_ERROR_ENUMERATOR
};

constexpr std::int32_t errorNumber(ScriptErrorCode code) { return static_cast<std::int32_t>(code); }

struct ScriptErrorEntry {
    ScriptErrorCode code;
    std::string_view name;     ///< the enumerator's name, for test and log output
    std::string_view message;  ///< the description the error box shows
};

/// Every error of the engine, in the table's order.
inline constexpr std::array kScriptErrorCatalogue{
#define ZL_SCRIPT_ERROR_ENTRY(name, number, message) ScriptErrorEntry{ScriptErrorCode::name, #name, message},
    ZL_SCRIPT_ERRORS(ZL_SCRIPT_ERROR_ENTRY)
#undef ZL_SCRIPT_ERROR_ENTRY
};

// The solver absorbs these numbers without depending on the engine.
static_assert(errorNumber(ScriptErrorCode::InvalidProcedureCall) == kErrInvalidArgument);
static_assert(errorNumber(ScriptErrorCode::Overflow) == kErrOverflow);
static_assert(errorNumber(ScriptErrorCode::DivisionByZero) == kErrDivisionByZero);

/// Compilation errors (the 1000s) are found before anything runs; the rest at run time.
constexpr bool isCompilationError(std::int32_t number) { return number >= 1000 && number < 1100; }

}  // namespace zl
