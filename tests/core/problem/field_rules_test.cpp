#include "core/problem/field_rules.h"

#include <gtest/gtest.h>

#include <optional>

namespace zl {
namespace {

using Names = std::vector<std::string>;

TEST(FieldRules, OrderIsTheLeadingNumberRoundedHalvesToEven) {
    const struct {
        const char *text;
        std::optional<std::int32_t> order;
    } rows[] = {
        {"3", 3}, {"2.5", 2},  {"3.5", 4},  {" 1 x", 1},  {"500", kMaxOrder}, {"-1", {}},  {"0", {}},   {"abc", {}},
        {"", {}}, {"0.4", {}}, {"501", {}}, {"1e10", {}}, {"1e999", {}},      {"0.5", {}}, {"0.51", 1},
    };
    for (const auto &row : rows) EXPECT_EQ(orderFromText(row.text), row.order) << '"' << row.text << '"';
}

TEST(FieldRules, NamesAreThePiecesBetweenCommasOnePerVariable) {
    const struct {
        const char *text;
        std::int32_t order;
        std::optional<Names> names;
    } rows[] = {
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
    for (const auto &row : rows)
        EXPECT_EQ(namesFromText(row.text, row.order), row.names) << '"' << row.text << "\" order " << row.order;
}

TEST(FieldRules, ErrorBoundIsAPositiveFiniteLeadingNumber) {
    const struct {
        const char *text;
        std::optional<double> bound;
    } rows[] = {
        {".01", 0.01}, {"1e-300", 1e-300}, {"2abc", 2.0}, {"0", {}},      {"-0.1", {}},
        {"", {}},      {"abc", {}},        {"1e999", {}}, {"-1e999", {}},
    };
    for (const auto &row : rows) EXPECT_EQ(errorBoundFromText(row.text), row.bound) << '"' << row.text << '"';
}

TEST(FieldRules, IterationsTakeTheir16BitFormAndMustBeAtLeastOne) {
    const struct {
        const char *text;
        std::optional<std::int16_t> normal;
        bool usable;
    } rows[] = {
        {"8", 8, true},         {"7.5", 8, true},    {"2.5", 2, true},     {" 3 ", 3, true},
        {"32767", 32767, true}, {"0.4", 0, false},   {"-3", -3, false},    {"abc", {}, false},
        {"", {}, false},        {"8abc", {}, false}, {"40000", {}, false}, {"1e999", {}, false},
    };
    for (const auto &row : rows) {
        const auto normal = iterationsNormalForm(row.text);
        EXPECT_EQ(normal, row.normal) << '"' << row.text << '"';
        EXPECT_EQ(normal && isUsableIterations(*normal), row.usable) << '"' << row.text << '"';
    }
}

TEST(FieldRules, RandomSeedsAreAtLeastOneAndFitThirtyTwoBits) {
    const struct {
        const char *text;
        std::optional<std::int32_t> seeds;
    } rows[] = {
        {"20", 20},  {"1.4", 1}, {"2.5", 2},  {"3.5", 4},         {"10001", 10001}, {"2147483647", 2147483647},
        {"0.5", {}}, {"0", {}},  {"abc", {}}, {"2147483648", {}}, {"1e999", {}},
    };
    for (const auto &row : rows) EXPECT_EQ(randomSeedsFromText(row.text), row.seeds) << '"' << row.text << '"';
}

TEST(FieldRules, LimitsAreOneWholeFiniteNumber) {
    const struct {
        const char *text;
        std::optional<double> limit;
    } rows[] = {
        {"1e3", 1000.0}, {" -.5 ", -0.5}, {"abc", {}}, {"", {}}, {"12abc", {}}, {"1 5", {}}, {"1e999", {}},
    };
    for (const auto &row : rows) EXPECT_EQ(limitFromText(row.text), row.limit) << '"' << row.text << '"';
}

}  // namespace
}  // namespace zl
