#pragma once
// The program's script context (engine, math library, start-up statements),
// recording every error its observer sees; shared by the engine's tests.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/session/script_context.h"

namespace zl::testing {

struct ScriptSession {
    ScriptContext context;
    MathLibrary &library = context.library();
    ScriptEngine &engine = context.engine();
    std::vector<ScriptError> reported;

    ScriptSession() {
        context.setErrorObserver([this](const ScriptError &error) { reported.push_back(error); });
    }

    void run(const std::string &statement) {
        const auto error = engine.executeStatement(statement);
        ASSERT_FALSE(error) << statement << ": error " << error->number << " " << error->description;
    }

    /// The number a statement fails with, 0 when it runs.
    std::int32_t failureOf(const std::string &statement) {
        const auto error = engine.executeStatement(statement);
        return error ? error->number : 0;
    }

    /// The value of an expression that must give one.
    double valueOf(const std::string &expression) {
        const NumberResult result = engine.evaluateNumber(expression);
        EXPECT_TRUE(result.ok()) << expression << ": error " << result.error->number << " "
                                 << result.error->description;
        return result.value;
    }

    /// The number an expression fails with, 0 when it gives a value.
    std::int32_t errorOf(const std::string &expression) {
        const NumberResult result = engine.evaluateNumber(expression);
        return result.ok() ? 0 : result.error->number;
    }
};

/// `piece` `count` times over.
inline std::string repeated(const std::string &piece, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += piece;
    return text;
}

/// Relative comparison for computed values; NaN never matches.
inline ::testing::AssertionResult relativelyClose(double actual, double expected, double tolerance = 1e-13) {
    if (std::isnan(actual) || std::isnan(expected))
        return ::testing::AssertionFailure() << actual << " vs " << expected << " (NaN)";
    const double scale = std::max(1.0, std::fabs(expected));
    if (std::fabs(actual - expected) <= tolerance * scale) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << ::testing::PrintToString(actual) << " is not "
                                         << ::testing::PrintToString(expected);
}

}  // namespace zl::testing
