#include "core/eval/builtin_functions.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <math.h>

#include "core/eval/arithmetic.h"
#include "core/eval/math_library.h"
#include "core/numbers/number_reading.h"

namespace zl {
namespace {

using namespace arithmetic;

constexpr std::array kBuiltins{
    BuiltinSignature{"abs", BuiltinFunction::Abs, 1, 1},     BuiltinSignature{"atn", BuiltinFunction::Atn, 1, 1},
    BuiltinSignature{"cos", BuiltinFunction::Cos, 1, 1},     BuiltinSignature{"exp", BuiltinFunction::Exp, 1, 1},
    BuiltinSignature{"fix", BuiltinFunction::Fix, 1, 1},     BuiltinSignature{"int", BuiltinFunction::Int, 1, 1},
    BuiltinSignature{"log", BuiltinFunction::Log, 1, 1},     BuiltinSignature{"round", BuiltinFunction::Round, 1, 2},
    BuiltinSignature{"sgn", BuiltinFunction::Sgn, 1, 1},     BuiltinSignature{"sin", BuiltinFunction::Sin, 1, 1},
    BuiltinSignature{"sqr", BuiltinFunction::Sqr, 1, 1},     BuiltinSignature{"tan", BuiltinFunction::Tan, 1, 1},
    BuiltinSignature{"cdbl", BuiltinFunction::CDbl, 1, 1},   BuiltinSignature{"cint", BuiltinFunction::CInt, 1, 1},
    BuiltinSignature{"clng", BuiltinFunction::CLng, 1, 1},   BuiltinSignature{"csng", BuiltinFunction::CSng, 1, 1},
    BuiltinSignature{"cbool", BuiltinFunction::CBool, 1, 1},
};

struct LibraryEntry {
    std::string_view name;
    LibraryFunction function;
    LibraryEntryPoint entryPoint;
};

constexpr std::array kLibraryFunctions{
    LibraryEntry{"asin", LibraryFunction::Asin, callLibraryFunction<&MathLibrary::Asin>},
    LibraryEntry{"acos", LibraryFunction::Acos, callLibraryFunction<&MathLibrary::Acos>},
    LibraryEntry{"sinh", LibraryFunction::Sinh, callLibraryFunction<&MathLibrary::Sinh>},
    LibraryEntry{"cosh", LibraryFunction::Cosh, callLibraryFunction<&MathLibrary::Cosh>},
    LibraryEntry{"tanh", LibraryFunction::Tanh, callLibraryFunction<&MathLibrary::Tanh>},
    LibraryEntry{"asinh", LibraryFunction::Asinh, callLibraryFunction<&MathLibrary::Asinh>},
    LibraryEntry{"acosh", LibraryFunction::Acosh, callLibraryFunction<&MathLibrary::Acosh>},
    LibraryEntry{"atanh", LibraryFunction::Atanh, callLibraryFunction<&MathLibrary::Atanh>},
};

double sign(double x) { return x > 0 ? 1.0 : x < 0 ? -1.0 : 0.0; }

/// x rounded to single precision; infinite from where it would round past the largest float.
double singlePrecision(double x) {
    constexpr double kRoundsToInfinity = 340282356779733661637539395458142568448.0;  // 2^128 - 2^103
    if (!(std::fabs(x) < kRoundsToInfinity)) return std::copysign(HUGE_VAL, x);
    return static_cast<double>(static_cast<float>(x));
}

/// The single-precision value of x; beyond the float range it overflows.
std::int32_t toSingle(double x, double &result) {
    result = singlePrecision(x);
    return finiteOrOverflow(result);
}

// The fast forms: the same arithmetic, failures left as NaN or infinity. The
// C library's own functions are called directly (log(0) = -inf, log(<0) = NaN).
double fastAbs(double x) { return std::fabs(x); }

double fastFix(double x) { return std::trunc(x); }
double fastInt(double x) { return std::floor(x); }

double fastRound(double x) { return roundHalfEven(x); }
double fastSgn(double x) { return sign(x); }

double fastSqr(double x) { return std::sqrt(x); }  // sqrt(<0) = NaN

double fastCDbl(double x) { return x; }
double fastCInt(double x) { return roundToInt16(x) ? roundHalfEven(x) : NAN; }
double fastCLng(double x) { return roundToInt32(x) ? roundHalfEven(x) : NAN; }
double fastCSng(double x) { return singlePrecision(x); }
double fastCBool(double x) { return truth(x != 0); }

ValueKind resultKind(BuiltinFunction function, ValueKind argument) {
    const bool wholeArgument = argument == ValueKind::Integer || argument == ValueKind::Long;
    switch (function) {
    case BuiltinFunction::Abs:
    case BuiltinFunction::Fix:
    case BuiltinFunction::Int:
    case BuiltinFunction::Round:
        if (wholeArgument || argument == ValueKind::Single) return argument;
        if (argument == ValueKind::Empty || argument == ValueKind::Boolean) return ValueKind::Integer;
        return ValueKind::Double;
    case BuiltinFunction::Sgn:
    case BuiltinFunction::CInt:
        return ValueKind::Integer;
    case BuiltinFunction::CLng:
        return ValueKind::Long;
    case BuiltinFunction::CSng:
        return ValueKind::Single;
    case BuiltinFunction::CBool:
        return ValueKind::Boolean;
    default:
        return ValueKind::Double;
    }
}

/// CBool also takes the words True and False, in any case.
std::optional<double> booleanArgument(const Value &argument) {
    if (argument.isString()) {
        std::string word = argument.text;
        for (char &c : word)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (word == "true") return -1.0;
        if (word == "false") return 0.0;
    }
    return numericValue(argument);
}

}  // namespace

std::optional<BuiltinFunction> findBuiltin(std::string_view lowerName) {
    for (const BuiltinSignature &entry : kBuiltins)
        if (entry.name == lowerName) return entry.function;
    return std::nullopt;
}

const BuiltinSignature &builtinSignature(BuiltinFunction function) {
    return kBuiltins[static_cast<std::size_t>(function)];
}

std::int32_t applyBuiltin(BuiltinFunction function, double x, double &result) {
    switch (function) {
    case BuiltinFunction::Abs:
        result = std::fabs(x);
        return kOk;
    case BuiltinFunction::Atn:
        result = std::atan(x);
        return kOk;
    case BuiltinFunction::Cos:
        result = std::cos(x);
        return finiteOrOverflow(result);
    case BuiltinFunction::Exp:
        result = std::exp(x);
        return finiteOrOverflow(result);
    case BuiltinFunction::Fix:
        result = std::trunc(x);
        return kOk;
    case BuiltinFunction::Int:
        result = std::floor(x);
        return kOk;
    case BuiltinFunction::Log:
        if (x <= 0) return kInvalidArgument;
        result = std::log(x);
        return kOk;
    case BuiltinFunction::Round:
        result = roundHalfEven(x);
        return kOk;
    case BuiltinFunction::Sgn:
        result = sign(x);
        return kOk;
    case BuiltinFunction::Sin:
        result = std::sin(x);
        return finiteOrOverflow(result);
    case BuiltinFunction::Sqr:
        if (x < 0) return kInvalidArgument;
        result = std::sqrt(x);
        return kOk;
    case BuiltinFunction::Tan:
        result = std::tan(x);
        return finiteOrOverflow(result);
    case BuiltinFunction::CDbl:
        result = x;
        return kOk;
    case BuiltinFunction::CInt:
        if (!roundToInt16(x)) return kOverflow;
        result = roundHalfEven(x);
        return kOk;
    case BuiltinFunction::CLng:
        if (!roundToInt32(x)) return kOverflow;
        result = roundHalfEven(x);
        return kOk;
    case BuiltinFunction::CSng:
        return toSingle(x, result);
    case BuiltinFunction::CBool:
        result = truth(x != 0);
        return kOk;
    }
    return kInvalidArgument;
}

std::int32_t roundToDigits(double x, double digits, double &result) {
    std::int32_t places = 0;
    if (const auto error = toLong(digits, places)) return error;
    if (places < 0) return kInvalidArgument;
    if (places == 0) {
        result = roundHalfEven(x);
        return kOk;
    }
    // Beyond 22 places, or where the scaled value has no fraction bits left,
    // x is already whole at that decimal place.
    constexpr double kWholeFromHere = 4503599627370496.0;  // 2^52
    const double scale = places <= 22 ? std::pow(10.0, places) : 0.0;
    const double scaled = x * scale;
    if (places > 22 || !(std::fabs(scaled) < kWholeFromHere)) {
        result = x;
        return kOk;
    }
    result = roundHalfEven(scaled) / scale;
    return kOk;
}

std::int32_t callBuiltin(BuiltinFunction function, std::span<const Value> arguments, Value &result) {
    const Value &argument = arguments[0];
    const std::optional<double> x =
        function == BuiltinFunction::CBool ? booleanArgument(argument) : numericValue(argument);
    if (!x) return errorNumber(ScriptErrorCode::TypeMismatch);
    double number = 0;
    std::int32_t error = kOk;
    if (function == BuiltinFunction::Round && arguments.size() == 2) {
        const std::optional<double> digits = numericValue(arguments[1]);
        if (!digits) return errorNumber(ScriptErrorCode::TypeMismatch);
        error = roundToDigits(*x, *digits, number);
    } else {
        error = applyBuiltin(function, *x, number);
    }
    if (error) return error;
    result = Value::numeric(resultKind(function, argument.kind), number);
    return kOk;
}

FastFunction fastBuiltin(BuiltinFunction function) {
    static constexpr std::array<FastFunction, kBuiltins.size()> kFast{
        fastAbs, ::atan,  ::cos, ::exp,    fastFix,  fastInt,  ::log,    fastRound, fastSgn,
        ::sin,   fastSqr, ::tan, fastCDbl, fastCInt, fastCLng, fastCSng, fastCBool,
    };
    return kFast[static_cast<std::size_t>(function)];
}

bool hidesNonFiniteArgument(BuiltinFunction function) {
    return function == BuiltinFunction::Exp || function == BuiltinFunction::Atn || function == BuiltinFunction::Sgn ||
           function == BuiltinFunction::CBool;
}

std::optional<LibraryFunction> findLibraryFunction(std::string_view lowerName) {
    for (const LibraryEntry &entry : kLibraryFunctions)
        if (entry.name == lowerName) return entry.function;
    return std::nullopt;
}

LibraryEntryPoint libraryEntryPoint(LibraryFunction function) {
    return kLibraryFunctions[static_cast<std::size_t>(function)].entryPoint;
}

double callLibraryFunction(MathLibrary &library, LibraryFunction function, const Value &argument) {
    const std::optional<double> x = numericValue(argument);
    if (!x) return library.recordFailure(errorNumber(ScriptErrorCode::TypeMismatch));
    return libraryEntryPoint(function)(library, *x);
}

}  // namespace zl
