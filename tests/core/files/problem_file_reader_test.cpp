#include "core/files/problem_file_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace zl {
namespace {

const std::string kExample =
    "Rootex\r\n"
    "2,1,0.001,8\r\n"
    "\"x\",-5,5,10,\"x^2+y^2=k\"\r\n"
    "\"y\",-5,5,10,\"x=y\"\r\n"
    " 1 \r\n"
    "k=2\r\n"
    " 1 \r\n"
    " 1 \r\n";

TEST(ProblemFileReader, ReadsTheExampleFile) {
    const auto reading = readProblemFileText(kExample);
    ASSERT_TRUE(reading.ok()) << reading.error->message;
    const auto &data = reading.data;
    EXPECT_DOUBLE_EQ(data.maxError, 0.001);
    EXPECT_EQ(data.maxCycles, 8);
    ASSERT_EQ(data.variables.size(), 2u);
    EXPECT_EQ(data.variables[0].name, "x");
    EXPECT_EQ(data.variables[0].lowerLimit, -5);
    EXPECT_EQ(data.variables[0].upperLimit, 5);
    EXPECT_EQ(data.variables[0].subintervals, 10);
    EXPECT_EQ(data.variables[0].equation, "x^2+y^2=k");
    EXPECT_EQ(data.variables[1].equation, "x=y");
    EXPECT_EQ(data.constants, std::vector<std::string>{"k=2"});
    EXPECT_EQ(data.solutions, (std::vector<std::vector<double>>{{1, 1}}));
}

/// Replaces the first occurrence of `from` in the example.
std::string exampleWith(const std::string &from, const std::string &to) {
    std::string text = kExample;
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

TEST(ProblemFileReader, AcceptsLineFeedsAloneAndNoFinalLineEnd) {
    std::string text = kExample;
    for (auto at = text.find('\r'); at != std::string::npos; at = text.find('\r')) text.erase(at, 1);
    text.pop_back();
    const auto reading = readProblemFileText(text);
    ASSERT_TRUE(reading.ok()) << reading.error->message;
    EXPECT_EQ(reading.data.solutions, (std::vector<std::vector<double>>{{1, 1}}));
    EXPECT_EQ(reading.data.constants, std::vector<std::string>{"k=2"});
}

TEST(ProblemFileReader, FollowsTheFieldRules) {
    const std::string text =
        "   Rootex\r\n"
        "  2 , 1 ,.5e-2,   8.5\r\n"                 // blanks around fields; 8.5 rounds to 8
        "\"  x\"ignored,-.25,+2.5E+20,2.5,\"a, \"\"\r\n"  // text after a closing quote is skipped
        "y,1e3,5 ,3.5,x=y\r\n"                      // unquoted texts run to the comma
        "  2 \r\n"
        "   k=2 \r\n"                               // leading blanks go, trailing ones stay
        "\"m=1\"\r\n"
        "-1E-06\r\n"
        "0\r\n"
        "anything after the last value is not read\r\n";
    const auto reading = readProblemFileText(text);
    ASSERT_TRUE(reading.ok()) << reading.error->message;
    const auto &data = reading.data;
    EXPECT_DOUBLE_EQ(data.maxError, 0.005);
    EXPECT_EQ(data.maxCycles, 8);
    EXPECT_EQ(data.variables[0].name, "  x");
    EXPECT_EQ(data.variables[0].lowerLimit, -0.25);
    EXPECT_EQ(data.variables[0].upperLimit, 2.5e20);
    EXPECT_EQ(data.variables[0].subintervals, 2);
    EXPECT_EQ(data.variables[0].equation, "a, ");
    EXPECT_EQ(data.variables[1].name, "y");
    EXPECT_EQ(data.variables[1].lowerLimit, 1000);
    EXPECT_EQ(data.variables[1].subintervals, 4);
    EXPECT_EQ(data.variables[1].equation, "x=y");
    EXPECT_EQ(data.constants, (std::vector<std::string>{"k=2 ", "m=1"}));
    EXPECT_EQ(data.solutions, (std::vector<std::vector<double>>{{-1e-6, 0}}));
}

TEST(ProblemFileReader, IntegerFieldsRoundHalvesToEven) {
    const struct {
        const char *order;
        int expected;
    } cases[] = {{"1.5", 2}, {"2.5", 2}, {"2.4999", 2}, {"1.0", 1}};
    for (const auto &c : cases) {
        std::string text = "Rootex\n" + std::string(c.order) + ",0,0.1,8\n";
        for (int i = 0; i < c.expected; ++i) text += "\"v\",0,1,2,\"v=0\"\n";
        text += "0\n";
        const auto reading = readProblemFileText(text);
        ASSERT_TRUE(reading.ok()) << c.order << ": " << reading.error->message;
        EXPECT_EQ(reading.data.variables.size(), static_cast<std::size_t>(c.expected)) << c.order;
    }
}

TEST(ProblemFileReader, TheMagicIsCaseSensitive) {
    for (const char *text : {"rootex\r\n", "ROOTEX\r\n", "", "\r\n", "Rootex2\r\n", "Root\r\nex\r\n", "\"Rootex"}) {
        const auto reading = readProblemFileText(text);
        ASSERT_FALSE(reading.ok()) << text;
        EXPECT_EQ(reading.error->code, FileErrorCode::Incompatible) << text;
        EXPECT_EQ(reading.error->message, "Incompatible file");
    }
    EXPECT_TRUE(readProblemFileText(exampleWith("Rootex", "\"Rootex\"")).ok());
}

struct MalformedCase {
    const char *name;
    std::string text;
    FileErrorCode code;
    int line;
    const char *fragment;
};

std::string header(const std::string &fields) { return "Rootex\r\n" + fields + "\r\n"; }
const std::string kOneVariable = header("1,0,0.1,8") + "\"x\",0,1,2,\"x=1\"\r\n";

class MalformedFileTest : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedFileTest, NamesTheLineAndTheProblem) {
    const auto &c = GetParam();
    const auto reading = readProblemFileText(c.text);
    ASSERT_FALSE(reading.ok());
    EXPECT_EQ(reading.error->code, c.code) << reading.error->message;
    EXPECT_EQ(reading.error->line, c.line) << reading.error->message;
    EXPECT_NE(reading.error->message.find(c.fragment), std::string::npos) << reading.error->message;
    if (c.line > 0) {
        EXPECT_EQ(reading.error->message.rfind("Line " + std::to_string(c.line) + ": ", 0), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedFileTest,
    testing::Values(
        MalformedCase{"NoHeader", "Rootex\r\n", FileErrorCode::EarlyEnd, 2, "ends before the header"},
        MalformedCase{"ShortHeader", header("2,1,0.001"), FileErrorCode::MissingField, 2,
                      "maximum number of iterations is missing"},
        MalformedCase{"TextForNumber", header("2,x,0.001,8"), FileErrorCode::NotANumber, 2,
                      "solution count must be a number"},
        MalformedCase{"NumberWithText", header("2,1,0.001,8abc"), FileErrorCode::NotANumber, 2, "\"8abc\""},
        MalformedCase{"TwoNumbersInAField", header("1 5,1,0.001,8"), FileErrorCode::NotANumber, 2, "order"},
        MalformedCase{"EmptyNumber", header("2,,0.001,8"), FileErrorCode::NotANumber, 2, "solution count"},
        MalformedCase{"PointAlone", header("2,1,.,8"), FileErrorCode::NotANumber, 2, "error bound"},
        MalformedCase{"BareExponent", header("2,1,1E,8"), FileErrorCode::NotANumber, 2, "error bound"},
        MalformedCase{"ExtraField", header("2,1,0.001,8,9"), FileErrorCode::ExtraField, 2, "after the maximum"},
        MalformedCase{"TrailingComma", header("2,1,0.001,8,"), FileErrorCode::ExtraField, 2, "after the maximum"},
        MalformedCase{"OrderZero", header("0,0,0.1,8"), FileErrorCode::OutOfRange, 2, "from 1 to 500, not 0"},
        MalformedCase{"OrderTooLarge", header("501,0,0.1,8"), FileErrorCode::OutOfRange, 2, "order"},
        MalformedCase{"HugeOrder", header("1E+300,0,0.1,8"), FileErrorCode::OutOfRange, 2, "32-bit"},
        MalformedCase{"NegativeSolutionCount", header("1,-1,0.1,8"), FileErrorCode::OutOfRange, 2,
                      "solution count must be from 0 to 100"},
        MalformedCase{"TooManySolutions", header("1,101,0.1,8"), FileErrorCode::OutOfRange, 2, "solution count"},
        MalformedCase{"InfiniteErrorBound", header("1,0,1E999,8"), FileErrorCode::OutOfRange, 2,
                      "error bound is too large"},
        MalformedCase{"IterationsBeyond32Bits", header("1,0,0.1,3E9"), FileErrorCode::OutOfRange, 2, "32-bit"},
        MalformedCase{"NoVariableRecord", header("2,0,0.1,8") + "\"x\",0,1,2,\"x=1\"\r\n", FileErrorCode::EarlyEnd,
                      4, "record of variable 2"},
        MalformedCase{"UnclosedName", header("1,0,0.1,8") + "\"x,0,1,2,x=1\r\n", FileErrorCode::UnclosedQuote, 3,
                      "name of variable 1"},
        MalformedCase{"TextAsLimit", header("1,0,0.1,8") + "\"x\",low,1,2,\"x=1\"\r\n", FileErrorCode::NotANumber,
                      3, "lower limit of variable 1"},
        MalformedCase{"QuotedLimit", header("1,0,0.1,8") + "\"x\",0,\"1\",2,\"x=1\"\r\n",
                      FileErrorCode::NotANumber, 3, "upper limit"},
        MalformedCase{"NoEquation", header("1,0,0.1,8") + "\"x\",0,1,2\r\n", FileErrorCode::MissingField, 3,
                      "equation 1 is missing"},
        MalformedCase{"HugeSubintervals", header("1,0,0.1,8") + "\"x\",0,1,1E10,\"x=1\"\r\n",
                      FileErrorCode::OutOfRange, 3, "subintervals of variable 1"},
        MalformedCase{"NoConstantCount", kOneVariable, FileErrorCode::EarlyEnd, 4, "constant count"},
        MalformedCase{"NegativeConstantCount", kOneVariable + "-1\r\n", FileErrorCode::OutOfRange, 4,
                      "constant count must be from 0 to 101"},
        MalformedCase{"TooManyConstants", kOneVariable + " 102 \r\n", FileErrorCode::OutOfRange, 4,
                      "constant count"},
        MalformedCase{"MissingConstant", kOneVariable + " 2 \r\na=1\r\n", FileErrorCode::EarlyEnd, 6,
                      "constant 2"},
        MalformedCase{"CommaInConstant", kOneVariable + " 1 \r\na=max(1,2)\r\n", FileErrorCode::ExtraField, 5,
                      "cannot hold a comma"},
        MalformedCase{"MissingSolutionValue", exampleWith(" 1 \r\n 1 \r\n", " 1 \r\n"), FileErrorCode::EarlyEnd,
                      8, "variable 2 in solution 1"},
        MalformedCase{"TextAsSolutionValue", exampleWith(" 1 \r\n 1 \r\n", " 1 \r\none\r\n"),
                      FileErrorCode::NotANumber, 8, "variable 2 in solution 1"},
        MalformedCase{"LineTooLong", header("1,0,0.1,8") + "\"" + std::string(kMaxFileLineLength, 'x'),
                      FileErrorCode::LineTooLong, 3, "longer than"}),
    [](const testing::TestParamInfo<MalformedCase> &info) { return std::string(info.param.name); });

TEST(ProblemFileReader, RefusesWhatIsNotARegularFile) {
    for (const char *path : {"/nonexistent/problem.zerolith", "/tmp", "/dev/zero"}) {
        const auto reading = readProblemFile(std::string(path));
        ASSERT_FALSE(reading.ok()) << path;
        EXPECT_EQ(reading.error->code, FileErrorCode::CannotOpen) << path;
        EXPECT_NE(reading.error->message.find(path), std::string::npos) << reading.error->message;
    }
}

} // namespace
} // namespace zl
