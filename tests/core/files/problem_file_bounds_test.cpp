// The reader's bounds on what it reads: a file larger than any problem file
// can be, or a stream that never ends, is refused after a bounded amount of
// reading, with the line where it stopped.

#include <gtest/gtest.h>

#include <istream>
#include <streambuf>
#include <string>

#include "core/files/problem_file_reader.h"

namespace zl {
namespace {

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

struct EndlessCase {
    std::string name;
    std::string head;
    std::string record;
    FileErrorCode code;
};

class EndlessInput : public ::testing::TestWithParam<EndlessCase> {};

TEST_P(EndlessInput, IsRefusedAfterABoundedRead) {
    const EndlessCase &c = GetParam();
    EndlessRecords source(c.head, c.record);
    std::istream in(&source);
    const ProblemFileReading reading = readProblemFile(in);
    ASSERT_FALSE(reading.ok());
    EXPECT_EQ(reading.error->code, c.code) << reading.error->message;
    EXPECT_LE(source.bytesServed(), kMaxFileBytes + c.record.size());
}

// 500 variables of equations 200,000 characters long: 100 MB of lines that
// are each within the line bound.
const std::string kLongEquationRecord = "\"x\",0,1,2,\"" + std::string(200000, 'x') + "\"\r\n";

INSTANTIATE_TEST_SUITE_P(Streams, EndlessInput,
                         ::testing::Values(EndlessCase{"LargerThanAnyProblemFile", "Rootex\r\n500,100,0.1,8\r\n",
                                                       kLongEquationRecord, FileErrorCode::FileTooLarge},
                                           EndlessCase{"OneLineWithoutEnd", "Rootex\r\n1,0,0.1,8\r\n\"x\",0,1,2,\"",
                                                       std::string(4096, 'x'), FileErrorCode::LineTooLong},
                                           EndlessCase{"EndlessFirstLine", "", std::string(4096, 'R'),
                                                       FileErrorCode::LineTooLong}),
                         [](const auto &info) { return info.param.name; });

TEST(FileBounds, TheLargestFileTheBoundsAllowReadsInFull) {
    // 500 variables, 100 solutions, 101 constants: far below the byte bound.
    std::string text = "Rootex\r\n500,100,0.1,8\r\n";
    for (int i = 0; i < 500; ++i) text += "\"x" + std::to_string(i) + "\",-1,1,10,\"x" + std::to_string(i) + "=0\"\r\n";
    text += " 101 \r\n";
    for (int k = 0; k < 101; ++k) text += "c" + std::to_string(k) + "=" + std::to_string(k) + "\r\n";
    for (int v = 0; v < 500 * 100; ++v) text += " 0.5 \r\n";
    const ProblemFileReading reading = readProblemFileText(text);
    ASSERT_TRUE(reading.ok()) << reading.error->message;
    EXPECT_EQ(reading.data.variables.size(), 500u);
    EXPECT_EQ(reading.data.solutions.size(), 100u);
    EXPECT_EQ(reading.data.constants.size(), 101u);
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
