#pragma once
// The functions the language provides (Abs .. CBool) and those the math
// library adds (Asin .. Atanh), by name.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "core/eval/value.h"

namespace zl {

class MathLibrary;

enum class BuiltinFunction : std::uint8_t {
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
    CDbl,
    CInt,
    CLng,
    CSng,
    CBool,
};

struct BuiltinSignature {
    std::string_view name;  ///< lower case
    BuiltinFunction function;
    int minArguments;
    int maxArguments;
};

std::optional<BuiltinFunction> findBuiltin(std::string_view lowerName);
const BuiltinSignature &builtinSignature(BuiltinFunction function);

/// A one-argument built-in on a number: 0 and the result, or the error number.
[[nodiscard]] std::int32_t applyBuiltin(BuiltinFunction function, double argument, double &result);

/// Round(x, digits): halves to even at the given decimal place; negative
/// digits are an invalid argument.
[[nodiscard]] std::int32_t roundToDigits(double x, double digits, double &result);

/// A built-in called with script values (argument count already checked).
[[nodiscard]] std::int32_t callBuiltin(BuiltinFunction function, std::span<const Value> arguments, Value &result);

/// The built-in for compiled numeric code: the same result as applyBuiltin
/// where that succeeds, a non-finite value where it fails.
using FastFunction = double (*)(double);
FastFunction fastBuiltin(BuiltinFunction function);

/// True for the built-ins that can turn an infinite or NaN argument into a
/// finite result (Exp(-inf) = 0, Atn(inf) = pi/2, Sgn, CBool); compiled code
/// checks their argument.
bool hidesNonFiniteArgument(BuiltinFunction function);

enum class LibraryFunction : std::uint8_t { Asin, Acos, Sinh, Cosh, Tanh, Asinh, Acosh, Atanh };

std::optional<LibraryFunction> findLibraryFunction(std::string_view lowerName);

/// A library function as a plain function of the library and the argument.
using LibraryEntryPoint = double (*)(MathLibrary &, double);
LibraryEntryPoint libraryEntryPoint(LibraryFunction function);

/// Calls a library function with a script value: text that is no number is
/// the library's own failure (13), recorded like its other failures.
double callLibraryFunction(MathLibrary &library, LibraryFunction function, const Value &argument);

}  // namespace zl
