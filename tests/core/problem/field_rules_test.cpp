#include "core/problem/field_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

namespace zl {
namespace {

using Names = std::vector<std::string>;

TEST(FieldRules, OrderIsTheLeadingNumberRoundedHalvesToEven) {
    const std::pair<const char *, std::optional<std::int32_t>> rows[] = {
        {"3", 3}, {"2.5", 2},  {"3.5", 4},  {" 1 x", 1},  {"500", kMaxOrder}, {"-1", {}},  {"0", {}},   {"abc", {}},
        {"", {}}, {"0.4", {}}, {"501", {}}, {"1e10", {}}, {"1e999", {}},      {"0.5", {}}, {"0.51", 1},
    };
    for (const auto &[text, order] : rows) EXPECT_EQ(orderFromText(text), order) << '"' << text << '"';
}

TEST(FieldRules, NamesAreThePiecesBetweenCommasOnePerVariable) {
    const std::tuple<const char *, std::int32_t, std::optional<Names>> rows[] = {
        {"x,y,z", 3, Names{"x", "y", "z"}},
        {"x, y", 2, Names{"x", " y"}},  // kept as typed
        {"x,x", 2, Names{"x", "x"}},    // duplicates pass
        {"x", 1, Names{"x"}},
        {"x,,y", 3, {}},
        {"x,y,", 3, {}},
        {"x,y,", 2, {}},
        {"x,y", 3, {}},
        {"x,y", 1, {}},
        {"", 1, {}},
        {"x", 0, {}},  // no order yet: nothing to fit
    };
    for (const auto &[text, order, names] : rows)
        EXPECT_EQ(namesFromText(text, order), names) << '"' << text << "\" order " << order;
}

TEST(FieldRules, ErrorBoundIsAPositiveFiniteLeadingNumber) {
    const std::pair<const char *, std::optional<double>> rows[] = {
        {".01", 0.01}, {"1e-300", 1e-300}, {"2abc", 2.0}, {"0", {}},      {"-0.1", {}},
        {"", {}},      {"abc", {}},        {"1e999", {}}, {"-1e999", {}},
    };
    for (const auto &[text, bound] : rows) EXPECT_EQ(errorBoundFromText(text), bound) << '"' << text << '"';
}

TEST(FieldRules, IterationsTakeTheir16BitFormAndMustBeAtLeastOne) {
    const std::tuple<const char *, std::optional<std::int16_t>, bool> rows[] = {
        {"8", 8, true},         {"7.5", 8, true},    {"2.5", 2, true},     {" 3 ", 3, true},
        {"32767", 32767, true}, {"0.4", 0, false},   {"-3", -3, false},    {"abc", {}, false},
        {"", {}, false},        {"8abc", {}, false}, {"40000", {}, false}, {"1e999", {}, false},
    };
    for (const auto &[text, expected, usable] : rows) {
        const auto normal = iterationsNormalForm(text);
        EXPECT_EQ(normal, expected) << '"' << text << '"';
        EXPECT_EQ(normal && isUsableIterations(*normal), usable) << '"' << text << '"';
    }
}

TEST(FieldRules, RandomSeedsAreAtLeastOneAndFitThirtyTwoBits) {
    const std::pair<const char *, std::optional<std::int32_t>> rows[] = {
        {"20", 20},  {"1.4", 1}, {"2.5", 2},  {"3.5", 4},         {"10001", 10001}, {"2147483647", 2147483647},
        {"0.5", {}}, {"0", {}},  {"abc", {}}, {"2147483648", {}}, {"1e999", {}},
    };
    for (const auto &[text, seeds] : rows) EXPECT_EQ(randomSeedsFromText(text), seeds) << '"' << text << '"';
}

TEST(FieldRules, LimitsAreOneWholeFiniteNumber) {
    const std::pair<const char *, std::optional<double>> rows[] = {
        {"1e3", 1000.0}, {" -.5 ", -0.5}, {"abc", {}}, {"", {}}, {"12abc", {}}, {"1 5", {}}, {"1e999", {}},
    };
    for (const auto &[text, limit] : rows) EXPECT_EQ(limitFromText(text), limit) << '"' << text << '"';
}

}  // namespace
}  // namespace zl
