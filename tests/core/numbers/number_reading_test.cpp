#include "core/numbers/number_reading.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "../../support/comma_locale.h"
#include "core/numbers/number_text.h"

namespace zl {
namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

TEST(LeadingNumber, ReadsAsFarAsTheNumberGoes) {
    const struct {
        const char *text;
        double value;
    } rows[] = {
        {"", 0},          {"abc", 0},          {"12abc", 12},      {"1 5", 15},    {"  -3.25  ", -3.25},
        {".5", 0.5},      {"-.25", -0.25},     {"5.", 5},          {".", 0},       {"-", 0},
        {"+7", 7},        {"1e3", 1000},       {"2.5E-3", 0.0025}, {"1E", 1},      {"1e+", 1},
        {"1e-x", 1},      {"1,5", 1},          {"- 4 . 5", -4.5},  {"1 e 2", 100}, {"0.01", 0.01},
        {"1e-400", 0},    {"12.34.56", 12.34}, {"--5", 0},         {"\t8", 8},     {"1e999", inf},
        {"-1e999", -inf},
    };
    for (const auto &row : rows) EXPECT_EQ(readLeadingNumber(row.text), row.value) << '"' << row.text << '"';
}

// The ends of the double range: the largest and the smallest double as the
// number texts write them, and digit runs far beyond any double.
TEST(LeadingNumber, ExtremesStillRead) {
    EXPECT_EQ(readLeadingNumber("1.79769313486231E+308"), 1.79769313486231e308);
    EXPECT_EQ(readLeadingNumber("4.94065645841247E-324"), std::numeric_limits<double>::denorm_min());
    const std::string digits(100000, '9');
    EXPECT_EQ(readLeadingNumber(digits), inf);
    EXPECT_DOUBLE_EQ(readLeadingNumber("0." + digits), 1.0);
}

TEST(IntegerRounding, RoundsHalvesToTheEvenNeighbour) {
    const std::pair<double, double> rows[] = {{2.5, 2}, {3.5, 4},    {-2.5, -2}, {0.5, 0},      {1.5, 2},
                                              {7.5, 8}, {2.4999, 2}, {-0.4, 0},  {1e300, 1e300}};
    for (const auto &[value, rounded] : rows) EXPECT_EQ(roundHalfEven(value), rounded) << value;
}

TEST(IntegerRounding, RefusesWhatDoesNotFit) {
    EXPECT_EQ(roundToInt32(2147483647.4), 2147483647);
    EXPECT_FALSE(roundToInt32(2147483647.5).has_value());
    EXPECT_EQ(roundToInt32(-2147483648.0), -2147483647 - 1);
    EXPECT_FALSE(roundToInt32(std::nan("")).has_value());
    EXPECT_FALSE(roundToInt32(inf).has_value());
    EXPECT_EQ(roundToInt16(32767.0), 32767);
    EXPECT_FALSE(roundToInt16(32767.5).has_value());
    EXPECT_EQ(roundToInt16(-32768.4), -32768);
    EXPECT_EQ(readRoundedInt32("3.5 subintervals"), 4);
    EXPECT_EQ(readRoundedInt32("1e20"), 0);
}

TEST(WholeNumber, AcceptsOnlyATextThatIsOneNumberAndGivesItsValue) {
    const struct {
        const char *text;
        std::optional<double> value;
    } rows[] = {
        {"1e3", 1000}, {" -.5 ", -0.5}, {"5.", 5},     {"+2", 2},   {"-5", -5},    {"2.5E-3", 0.0025},
        {"", {}},      {"   ", {}},     {"abc", {}},   {"1 5", {}}, {"12abc", {}}, {".", {}},
        {"1e", {}},    {"1,5", {}},     {"1e999", {}}, {"--1", {}}, {"- 1", {}},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(parseWholeNumber(row.text), row.value) << '"' << row.text << '"';
        EXPECT_EQ(isWholeNumber(row.text), row.value.has_value()) << '"' << row.text << '"';
    }
}

// Numbers are read and written with a point whatever the user's locale.
TEST(NumbersInACommaLocale, ReadAndWriteAsInAnyOther) {
    testing::CommaLocale comma;
    if (!comma.active()) GTEST_SKIP() << "no locale with a decimal comma could be made here";
    EXPECT_EQ(readLeadingNumber("2.5"), 2.5);
    EXPECT_EQ(readLeadingNumber("2,5"), 2);
    EXPECT_TRUE(isWholeNumber("0.125"));
    EXPECT_FALSE(isWholeNumber("0,125"));
    EXPECT_EQ(generalNumberText(2.5), "2.5");
    EXPECT_EQ(generalNumberText(1.5e-7), "1.5E-07");
    EXPECT_EQ(paddedNumberText(0.001), " 0.001 ");
}

}  // namespace
}  // namespace zl
