// A chain of concatenations costs the length of its result, counted in the
// bytes it allocates.

#include <gtest/gtest.h>

#include <string>

#include "allocation_counter.h"
#include "script_session.h"

namespace zl {
namespace {

TEST(TextConcatenation, aLongChainAllocatesInProportionToItsResult) {
    constexpr std::size_t kTerms = 10'000;
    constexpr std::size_t kTermLength = 1'000;
    zl::testing::ScriptSession session;
    session.run("t = \"" + std::string(kTermLength, 'a') + "\"");
    std::string chain = "u = t";
    for (std::size_t i = 1; i < kTerms; ++i) chain += " & t";
    const std::size_t before = zl::testing::allocatedBytes;
    const auto error = session.engine.executeStatement(chain);
    const std::size_t bytesAllocated = zl::testing::allocatedBytes - before;
    ASSERT_FALSE(error) << error->description;
    // The result, a copy of each term as it is read, and the parse of the text.
    EXPECT_LT(bytesAllocated, 3 * kTerms * kTermLength + 100 * chain.size());
    const std::string expected = "u = \"" + std::string(kTerms * kTermLength, 'a') + "\"";
    EXPECT_EQ(session.engine.evaluateNumber(expected).value, -1);
}

TEST(TextConcatenation, aChainOfPlusOnTextsGrowsInPlace) {
    constexpr std::size_t kTerms = 10'000;
    constexpr std::size_t kTermLength = 1'000;
    zl::testing::ScriptSession session;
    session.run("t = \"" + std::string(kTermLength, 'a') + "\"");
    std::string chain = "u = t";
    for (std::size_t i = 1; i < kTerms; ++i) chain += " + t";
    const std::size_t before = zl::testing::allocatedBytes;
    const auto error = session.engine.executeStatement(chain);
    const std::size_t bytesAllocated = zl::testing::allocatedBytes - before;
    ASSERT_FALSE(error) << error->description;
    // Doubling capacities add up to at most four times the result.
    EXPECT_LT(bytesAllocated, 6 * kTerms * kTermLength + 100 * chain.size());
}

}  // namespace
}  // namespace zl
