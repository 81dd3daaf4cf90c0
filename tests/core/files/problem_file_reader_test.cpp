#include "core/files/problem_file_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <istream>
#include <streambuf>
#include <string>
#include <tuple>

namespace zl {
namespace {

using Solutions = std::vector<std::vector<double>>;
using ::testing::HasSubstr;
using ::testing::StartsWith;

TEST(ProblemFileReader, FollowsTheFieldRules) {
    const std::string text = "   Rootex\r\n"
                             "  2 , 1 ,.5e-2,   8.5\r\n"                       // blanks before fields; 8.5 rounds to 8
                             "\"  x\"ignored,-.25,+2.5E+20,2.5,\"a, \"\"\r\n"  // text after a closing quote is skipped
                             "y,1e3,5 ,3.5,x=y\r\n"  // unquoted text runs to the comma; 3.5 rounds to 4
                             "  2 \r\n"
                             "   k=2 \r\n"  // leading blanks go, trailing ones stay
                             "\"m=1\"\r\n"
                             "-1E-06\r\n"
                             "0\r\n"
                             "anything after the last value is not read\r\n";
    const auto reading = readProblemFileText(text);
    ASSERT_TRUE(reading.ok()) << reading.error->message;
    const auto &data = reading.data;
    EXPECT_DOUBLE_EQ(data.maxError, 0.005);
    EXPECT_EQ(data.maxCycles, 8);
    const auto &x = data.variables[0], &y = data.variables[1];
    EXPECT_EQ(std::tie(x.name, x.lowerLimit, x.upperLimit, x.subintervals, x.equation),
              std::make_tuple("  x", -0.25, 2.5e20, 2.0, "a, "));
    EXPECT_EQ(std::tie(y.name, y.lowerLimit, y.upperLimit, y.subintervals, y.equation),
              std::make_tuple("y", 1000.0, 5.0, 4.0, "x=y"));
    EXPECT_EQ(data.constants, (std::vector<std::string>{"k=2 ", "m=1"}));
    EXPECT_EQ(data.solutions, (Solutions{{-1e-6, 0}}));
}

TEST(ProblemFileReader, TheMagicIsCaseSensitive) {
    for (const char *text : {"rootex\r\n", "ROOTEX\r\n", "", "\r\n", "Rootex2\r\n", "\"Rootex"}) {
        const auto reading = readProblemFileText(text);
        ASSERT_FALSE(reading.ok()) << text;
        EXPECT_EQ(reading.error->code, FileErrorCode::Incompatible) << text;
        EXPECT_EQ(reading.error->message, "Incompatible file");
    }
}

std::string header(const std::string &fields) { return "Rootex\r\n" + fields + "\r\n"; }
std::string oneVariable(const std::string &record) { return header("1,0,0.1,8") + record + "\r\n"; }
const std::string kOneVariable = oneVariable("\"x\",0,1,2,\"x=1\"");

TEST(ProblemFileReader, MalformedContentNamesTheLineAndTheProblem) {
    using enum FileErrorCode;
    const std::tuple<std::string, FileErrorCode, int, const char *> cases[] = {
        {"Rootex\r\n", EarlyEnd, 2, "ends before the header"},
        {header("2,1,0.001"), MissingField, 2, "maximum number of iterations is missing"},
        {header("2,x,0.001,8"), NotANumber, 2, "solution count must be a number"},
        {header("2,1,0.001,8abc"), NotANumber, 2, "\"8abc\""},
        {header("1 5,1,0.001,8"), NotANumber, 2, "order"},
        {header("2,1,.,8"), NotANumber, 2, "error bound"},
        {header("2,1,0.001,8,"), ExtraField, 2, "after the maximum"},
        {header("0,0,0.1,8"), OutOfRange, 2, "from 1 to 500, not 0"},
        {header("501,0,0.1,8"), OutOfRange, 2, "order"},
        {header("1,-1,0.1,8"), OutOfRange, 2, "solution count must be from 0 to 100"},
        {header("1,101,0.1,8"), OutOfRange, 2, "solution count"},
        {header("1,0,1E999,8"), OutOfRange, 2, "error bound is too large"},
        {header("1,0,0,8"), OutOfRange, 2, "error bound must be greater than 0, not 0"},
        {header("1,0,-1,2147483647"), OutOfRange, 2, "error bound must be greater than 0, not -1"},
        {header("1,0,0.1,0.4"), OutOfRange, 2, "iterations must be at least 1, not 0"},
        {header("1,0,0.1,3E9"), OutOfRange, 2, "32-bit"},
        {header("2,0,0.1,8") + "\"x\",0,1,2,\"x=1\"\r\n", EarlyEnd, 4, "record of variable 2"},
        {oneVariable("\"x,0,1,2,x=1"), UnclosedQuote, 3, "name of variable 1"},
        {oneVariable("\"\",0,1,2,\"x=1\""), InvalidProblem, 3, "name of variable 1 is empty"},
        {oneVariable("\"x,y\",0,1,2,\"x=1\""), InvalidProblem, 3, "holds a comma"},
        {oneVariable("\"x\",low,1,2,\"x=1\""), NotANumber, 3, "lower limit of variable 1"},
        {oneVariable("\"x\",0,1,2"), MissingField, 3, "equation 1 is missing"},
        {kOneVariable, EarlyEnd, 4, "constant count"},
        {kOneVariable + "-1\r\n", OutOfRange, 4, "constant count must be from 0 to 101"},
        {kOneVariable + " 102 \r\n", OutOfRange, 4, "constant count"},
        {kOneVariable + " 2 \r\na=1\r\n", EarlyEnd, 6, "constant 2"},
        {kOneVariable + " 1 \r\na=max(1,2)\r\n", ExtraField, 5, "cannot hold a comma"},
        {header("2,1,0.1,8") + "x,0,1,2,\r\ny,0,1,2,\r\n 0 \r\n 1 \r\n", EarlyEnd, 7, "variable 2 in solution 1"},
        {header("1,0,0.1,8") + "\"" + std::string(kMaxFileLineLength, 'x'), LineTooLong, 3, "longer than"},
    };
    for (const auto &[text, code, line, fragment] : cases) {
        const auto reading = readProblemFileText(text);
        ASSERT_FALSE(reading.ok()) << fragment;
        EXPECT_EQ(reading.error->code, code) << reading.error->message;
        EXPECT_THAT(reading.error->message,
                    AllOf(StartsWith("Line " + std::to_string(line) + ": "), HasSubstr(fragment)));
    }
}

TEST(ProblemFileReader, RefusesWhatIsNotARegularFile) {
    for (const std::string path : {"/nonexistent/problem.zerolith", "/tmp", "/dev/zero"}) {
        const auto reading = readProblemFile(path);
        ASSERT_FALSE(reading.ok()) << path;
        EXPECT_EQ(reading.error->code, FileErrorCode::CannotOpen) << path;
        EXPECT_THAT(reading.error->message, HasSubstr(path));
    }
}

/// A stream of `head` followed by `record` repeated without end: nothing
/// is held in memory but the two texts.
class EndlessRecords : public std::streambuf {
public:
    EndlessRecords(std::string head, std::string record) : head_(std::move(head)), record_(std::move(record)) {
        setg(head_.data(), head_.data(), head_.data() + head_.size());
    }
    std::size_t bytesServed() const { return served_; }

protected:
    int_type underflow() override {
        served_ += static_cast<std::size_t>(egptr() - eback());
        setg(record_.data(), record_.data(), record_.data() + record_.size());
        return traits_type::to_int_type(record_.front());
    }

private:
    std::string head_, record_;
    std::size_t served_ = 0;
};

// The reader's bounds: a file larger than any problem file can be, or a stream
// that never ends, is refused after a bounded amount of reading.
TEST(FileBounds, EndlessInputIsRefusedAfterABoundedRead) {
    // 500 variables of equations 200,000 characters long: 100 MB of lines that
    // are each within the line bound.
    const std::string longEquation = "\"x\",0,1,2,\"" + std::string(200000, 'x') + "\"\r\n";
    const std::tuple<const char *, std::string, std::string, FileErrorCode> rows[] = {
        {"LargerThanAnyProblemFile", "Rootex\r\n500,100,0.1,8\r\n", longEquation, FileErrorCode::FileTooLarge},
        {"OneLineWithoutEnd", "Rootex\r\n1,0,0.1,8\r\n\"x\",0,1,2,\"", std::string(4096, 'x'),
         FileErrorCode::LineTooLong},
        {"EndlessFirstLine", "", std::string(4096, 'R'), FileErrorCode::LineTooLong},
    };
    for (const auto &[name, head, record, code] : rows) {
        EndlessRecords source(head, record);
        std::istream in(&source);
        const ProblemFileReading reading = readProblemFile(in);
        ASSERT_FALSE(reading.ok()) << name;
        EXPECT_EQ(reading.error->code, code) << name << ": " << reading.error->message;
        EXPECT_LE(source.bytesServed(), kMaxFileBytes + record.size()) << name;
    }
}

TEST(FileBounds, TheLargestFileTheBoundsAllowReadsInFull) {
    // 500 variables, 100 solutions, 101 constants: far below the byte bound.
    std::string text = "Rootex\r\n500,100,0.1,8\r\n";
    for (int i = 0; i < 500; ++i) text += "\"x" + std::to_string(i) + "\",-1,1,10,\"x" + std::to_string(i) + "=0\"\r\n";
    text += " 101 \r\n";
    for (int k = 0; k < 101; ++k) text += "c" + std::to_string(k) + "=" + std::to_string(k) + "\r\n";
    for (int v = 0; v < 500 * 100; ++v) text += " 0.5 \r\n";
    const ProblemFileReading reading = readProblemFileText(text);
    ASSERT_TRUE(reading.ok()) << reading.error->message;
    EXPECT_EQ(std::tuple(reading.data.variables.size(), reading.data.solutions.size(), reading.data.constants.size()),
              std::tuple(500u, 100u, 101u));
}

TEST(FileBounds, ALineOfTheBoundEndingInALineFeedReadsAndLargeIterationLimitsAreKept) {
    // With CR LF, and one character more, the bound is the save tests' and the reader table's.
    const std::string record = "\"x\",0,1,2,\"" + std::string(kMaxFileLineLength - 12, 'x') + "\"";
    const auto reading = readProblemFileText("Rootex\n1,0,0.1,2147483647\n" + record + "\n0\n");
    ASSERT_TRUE(reading.ok()) << reading.error->message;
    EXPECT_EQ(reading.data.maxCycles, 2147483647);
}

}  // namespace
}  // namespace zl
