#include "core/numbers/number_reading.h"

#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "../../support/comma_locale.h"
#include "../../support/test_row_name.h"

namespace zl {
namespace {

struct LeadingCase {
    const char *text;
    double value;
};

class LeadingNumber : public ::testing::TestWithParam<LeadingCase> {};

TEST_P(LeadingNumber, ReadsAsFarAsTheNumberGoes) {
    EXPECT_EQ(readLeadingNumber(GetParam().text), GetParam().value) << "text: [" << GetParam().text << "]";
}

INSTANTIATE_TEST_SUITE_P(Texts, LeadingNumber,
                         ::testing::Values(LeadingCase{"", 0}, LeadingCase{"abc", 0}, LeadingCase{"12abc", 12},
                                           LeadingCase{"1 5", 15}, LeadingCase{"  -3.25  ", -3.25},
                                           LeadingCase{".5", 0.5}, LeadingCase{"-.25", -0.25}, LeadingCase{"5.", 5},
                                           LeadingCase{".", 0}, LeadingCase{"-", 0}, LeadingCase{"+7", 7},
                                           LeadingCase{"1e3", 1000}, LeadingCase{"2.5E-3", 0.0025},
                                           LeadingCase{"1E", 1}, LeadingCase{"1e+", 1}, LeadingCase{"1e-x", 1},
                                           LeadingCase{"1,5", 1}, LeadingCase{"- 4 . 5", -4.5},
                                           LeadingCase{"1 e 2", 100}, LeadingCase{"0.01", 0.01},
                                           LeadingCase{"1e-400", 0}, LeadingCase{"12.34.56", 12.34},
                                           LeadingCase{"--5", 0}, LeadingCase{"\t8", 8}),
                         [](const auto &info) { return zl::testing::rowName(info.param.text, info.index); });

TEST(LeadingNumberLimits, HugeExponentReadsAsInfinity) {
    EXPECT_EQ(readLeadingNumber("1e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(readLeadingNumber("-1e999"), -std::numeric_limits<double>::infinity());
}

TEST(LeadingNumberLimits, VeryLongDigitRunsStillRead) {
    const std::string digits(100000, '9');
    EXPECT_EQ(readLeadingNumber(digits), std::numeric_limits<double>::infinity());
    EXPECT_DOUBLE_EQ(readLeadingNumber("0." + digits), 1.0);
}

struct RoundCase {
    double value;
    double rounded;
};

class HalfEven : public ::testing::TestWithParam<RoundCase> {};

TEST_P(HalfEven, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(GetParam().value), GetParam().rounded) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Values, HalfEven,
                         ::testing::Values(RoundCase{2.5, 2}, RoundCase{3.5, 4}, RoundCase{-2.5, -2}, RoundCase{0.5, 0},
                                           RoundCase{1.5, 2}, RoundCase{7.5, 8}, RoundCase{2.4999, 2},
                                           RoundCase{-0.4, 0}, RoundCase{1e300, 1e300}),
                         [](const auto &info) { return zl::testing::rowName(info.param.value, info.index); });

TEST(IntegerRounding, RefusesWhatDoesNotFit) {
    EXPECT_EQ(roundToInt32(2147483647.4), 2147483647);
    EXPECT_FALSE(roundToInt32(2147483647.5).has_value());
    EXPECT_EQ(roundToInt32(-2147483648.0), -2147483647 - 1);
    EXPECT_FALSE(roundToInt32(std::nan("")).has_value());
    EXPECT_FALSE(roundToInt32(std::numeric_limits<double>::infinity()).has_value());
    EXPECT_EQ(roundToInt16(32767.0), 32767);
    EXPECT_FALSE(roundToInt16(32767.5).has_value());
    EXPECT_EQ(roundToInt16(-32768.4), -32768);
    EXPECT_EQ(readRoundedInt32("3.5 subintervals"), 4);
    EXPECT_EQ(readRoundedInt32("1e20"), 0);
}

struct WholeCase {
    const char *text;
    bool accepted;
};

class WholeNumber : public ::testing::TestWithParam<WholeCase> {};

TEST_P(WholeNumber, AcceptsOnlyATextThatIsOneNumber) {
    EXPECT_EQ(isWholeNumber(GetParam().text), GetParam().accepted) << "text: [" << GetParam().text << "]";
}

INSTANTIATE_TEST_SUITE_P(Texts, WholeNumber,
                         ::testing::Values(WholeCase{"1e3", true}, WholeCase{" -.5 ", true}, WholeCase{"5.", true},
                                           WholeCase{"+2", true}, WholeCase{"-5", true}, WholeCase{"2.5E-3", true},
                                           WholeCase{"", false}, WholeCase{"   ", false}, WholeCase{"abc", false},
                                           WholeCase{"1 5", false}, WholeCase{"12abc", false}, WholeCase{".", false},
                                           WholeCase{"1e", false}, WholeCase{"1,5", false}, WholeCase{"1e999", false},
                                           WholeCase{"--1", false}, WholeCase{"- 1", false}),
                         [](const auto &info) { return zl::testing::rowName(info.param.text, info.index); });

TEST(WholeNumberValue, GivesTheValue) {
    EXPECT_EQ(parseWholeNumber(" 1e3 "), 1000.0);
    EXPECT_FALSE(parseWholeNumber("x").has_value());
}

TEST(NumberReadingLocale, CommaLocaleChangesNothing) {
    testing::CommaLocale comma;
    if (!comma.active()) GTEST_SKIP() << "no locale with a decimal comma could be made here";
    EXPECT_EQ(readLeadingNumber("2.5"), 2.5);
    EXPECT_EQ(readLeadingNumber("2,5"), 2);
    EXPECT_TRUE(isWholeNumber("0.125"));
    EXPECT_FALSE(isWholeNumber("0,125"));
}

}  // namespace
}  // namespace zl
