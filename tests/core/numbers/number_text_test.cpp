#include "core/numbers/number_text.h"

#include <cfloat>
#include <cmath>

#include <gtest/gtest.h>

#include "../../support/test_row_name.h"

namespace zl {
namespace {

struct TextCase {
    double value;
    const char *text;
};

void PrintTo(const TextCase &row, std::ostream *os) { *os << row.text; }

class GeneralText : public ::testing::TestWithParam<TextCase> {};

TEST_P(GeneralText, WritesTheNumberAsTheListShowsIt) {
    EXPECT_EQ(generalNumberText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, GeneralText,
    ::testing::Values(TextCase{0, "0"}, TextCase{-0.0, "0"}, TextCase{1, "1"}, TextCase{-5, "-5"},
                      TextCase{0.25, "0.25"}, TextCase{-0.25, "-0.25"}, TextCase{1.5, "1.5"}, TextCase{4.74, "4.74"},
                      TextCase{0.001, "0.001"}, TextCase{0.0001, "0.0001"}, TextCase{0.00001, "1E-05"},
                      TextCase{0.000015, "1.5E-05"}, TextCase{-0.00001, "-1E-05"}, TextCase{1e14, "100000000000000"},
                      TextCase{1e15, "1E+15"}, TextCase{1.5e20, "1.5E+20"}, TextCase{1e100, "1E+100"},
                      TextCase{1e-300, "1E-300"}, TextCase{0.1 + 0.2, "0.3"}, TextCase{1.0 / 3.0, "0.333333333333333"},
                      TextCase{2.0 / 3.0, "0.666666666666667"}, TextCase{123456789012345678.0, "1.23456789012346E+17"},
                      TextCase{999999999999999.5, "1E+15"}, TextCase{99999.99999999999, "100000"},
                      TextCase{0.000099999999999999999, "0.0001"}, TextCase{1.5707963267948966, "1.5707963267949"},
                      TextCase{3.141592653589793, "3.14159265358979"}, TextCase{-1234.5, "-1234.5"},
                      TextCase{100, "100"}, TextCase{12345678901234.5, "12345678901234.5"},
                      TextCase{DBL_MAX, "1.79769313486231E+308"}, TextCase{-DBL_MAX, "-1.79769313486231E+308"},
                      TextCase{1.797693134862314e308, "1.79769313486231E+308"},
                      TextCase{1.79769313486231e308, "1.79769313486231E+308"}, TextCase{INFINITY, "Infinity"},
                      TextCase{-INFINITY, "-Infinity"}, TextCase{NAN, "NaN"}),
    [](const auto &info) { return zl::testing::rowName(info.param.text, info.index); });

TEST(PaddedText, BlankBeforeWhenNotNegativeAndAfterAlways) {
    EXPECT_EQ(paddedNumberText(2), " 2 ");
    EXPECT_EQ(paddedNumberText(-5), "-5 ");
    EXPECT_EQ(paddedNumberText(0.001), " 0.001 ");
    EXPECT_EQ(paddedNumberText(0), " 0 ");
    EXPECT_EQ(paddedNumberText(1e-6), " 1E-06 ");
}

}  // namespace
}  // namespace zl
