#include "core/files/problem_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <unistd.h>

#include "core/files/problem_file_reader.h"
#include "core/files/problem_file_writer.h"

namespace zl {
namespace {

const std::string kExampleBytes =
    "Rootex\r\n2,1,0.001,8\r\n\"x\",-5,5,10,\"x^2+y^2=k\"\r\n\"y\",-5,5,10,\"x=y\"\r\n 1 \r\nk=2\r\n 1 \r\n 1 \r\n";

/// The example problem as the window holds it: names and one solution in the
/// record, everything else in the fields and the constants list.
struct ExampleWindow {
    ProblemState problem;
    ProblemFieldTexts fields{"0.001", "8", {"-5", "-5"}, {"5", "5"}, {"10", "10"}, {"x^2+y^2=k", "x=y"}};
    std::vector<std::string> constantItems{"k=2"};

    ExampleWindow() {
        problem.sizeProblem(2);
        problem.record.varNames = {"x", "y"};
        problem.store.solutionCount = 1;
        problem.store.solutions(0, 1) = 1;
        problem.store.solutions(1, 1) = 1;
        problem.store.solutions(0, 2) = 99;  // beyond solutionCount: never saved
    }
    ProblemFileData data() const { return problemFileDataToSave(problem, fields, constantItems); }
};

TEST(ProblemFileWriter, WritesTheExampleByteForByteAndTheNumericReadingOfEachField) {
    EXPECT_EQ(problemFileText(ExampleWindow().data()), kExampleBytes);
    ExampleWindow window;
    window.fields = {"", "12abc", {" -1 5", ".5"}, {"1e-6", "2.5E+20"}, {"2.5", "3.5"}, {"x=1"}};
    window.problem.store.solutionCount = 0;
    window.constantItems.clear();
    EXPECT_EQ(problemFileText(window.data()),
              "Rootex\r\n2,0,0,12\r\n\"x\",-15,1E-06,2.5,\"x=1\"\r\n\"y\",0.5,2.5E+20,3.5,\"\"\r\n 0 \r\n");
}

TEST(ProblemFile, SaveRefusesContentThatWouldNotReadBackAndWritesNothing) {
    using enum FileErrorCode;
    const std::tuple<std::function<void(ProblemFileData &)>, FileErrorCode, const char *> cases[] = {
        {[](auto &d) { d.variables[1].name = "y\""; }, UnwritableText, "name of variable 2 holds a double quote"},
        {[](auto &d) { d.variables[1].name = ""; }, UnwritableText, "name of variable 2 is empty"},
        {[](auto &d) { d.variables[0].equation = "x=\"a\""; }, UnwritableText, "Equation 1 holds a double quote"},
        {[](auto &d) { d.variables[0].equation = "x=1\ny=2"; }, UnwritableText, "line break"},
        {[](auto &d) { d.constants[0] = "k=max(1,2)"; }, UnwritableText, "Constant 1 holds a comma"},
        {[](auto &d) { d.constants[0] = "\"k=2"; }, UnwritableText, "starts with"},
        {[](auto &d) { d.variables[1].upperLimit = INFINITY; }, UnwritableNumber, "upper limit of variable 2"},
        {[](auto &d) { d.solutions[0][1] = NAN; }, UnwritableNumber, "solution 1"},
        {[](auto &d) { d.variables[0].subintervals = 3e10; }, UnwritableNumber, "subintervals of variable 1"},
        {[](auto &d) { d.maxError = 0; }, UnwritableNumber, "error bound must be greater than 0"},
        {[](auto &d) { d.maxCycles = 0.4; }, UnwritableNumber, "iterations must be at least 1"},
        {[](auto &d) { d.variables.clear(); }, InvalidProblem, "1 to 500 variables"},
        {[](auto &d) { d.constants.assign(102, "k=2"); }, InvalidProblem, "102 constants"},
        {[](auto &d) { d.solutions.assign(101, std::vector<double>(2, 1)); }, InvalidProblem, "100 solutions"},
    };
    const auto path = std::filesystem::temp_directory_path() / ("zerolith-refused-" + std::to_string(::getpid()));
    for (const auto &[spoil, code, fragment] : cases) {
        auto data = ExampleWindow().data();
        spoil(data);
        const auto error = saveProblemFile(path.string(), data);
        ASSERT_TRUE(error) << fragment;
        EXPECT_EQ(error->code, code) << error->message;
        EXPECT_THAT(error->message, ::testing::HasSubstr(fragment));
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

TEST(ProblemFile, SaveRefusesLinesAndFilesTheReaderWouldRefuse) {
    const auto path = std::filesystem::temp_directory_path() / ("zerolith-long-" + std::to_string(::getpid()));
    ProblemFileData data = ExampleWindow().data();  // record 1 padded to exactly the line bound
    data.variables[0].equation += std::string(kMaxFileLineLength - problemFileText(data).find("\r\n\"y\"") + 21, ' ');
    ASSERT_FALSE(saveProblemFile(path.string(), data));
    EXPECT_TRUE(readProblemFile(path.string()).ok());
    std::filesystem::remove(path);

    data.variables[0].lowerLimit = 0.5;  // "-5" becomes "0.5": one character more
    EXPECT_EQ(saveProblemFile(path.string(), data)->code, FileErrorCode::LineTooLong);
    data = ExampleWindow().data();
    data.constants.assign(kConstantSlots, std::string(kMaxFileLineLength, 'k'));
    EXPECT_EQ(saveProblemFile(path.string(), data)->code, FileErrorCode::FileTooLarge);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(ProblemFile, ApplyFillsTheRecordAsOpenDoes) {
    std::string lineFeedsOnly = kExampleBytes;  // read with line feeds alone as well
    std::erase(lineFeedsOnly, '\r');
    lineFeedsOnly.pop_back();  // and no line end after the last value
    const auto reading = readProblemFileText(lineFeedsOnly);
    ASSERT_TRUE(reading.ok()) << reading.error->message;
    ProblemState problem;
    problem.record.fileName = "kept.zerolith";
    ASSERT_FALSE(applyProblemFile(reading.data, problem));

    const auto &record = problem.record;
    using Texts = std::vector<std::string>;
    EXPECT_EQ(std::tie(record.order, record.varNames, record.equations, record.residuals),
              std::tuple(2, Texts{"x", "y"}, Texts{"x^2+y^2=k", "x=y"}, Texts{"x^2+y^2-(k)", "x-(y)"}));
    EXPECT_EQ(std::tie(record.lowerLimits, record.upperLimits),
              std::make_tuple(std::vector<double>{-5, -5}, std::vector<double>{5, 5}));
    EXPECT_EQ(record.subintervals, (std::vector<std::int32_t>{10, 10}));
    EXPECT_EQ(std::tie(record.maxError, record.maxCycles, record.constantCount, record.constants[0], record.fileName),
              std::make_tuple(0.001, 8, 1, "k=2", "kept.zerolith"));
    EXPECT_EQ(std::tie(problem.store.solutionCount, problem.store.solutions(1, 1)), std::make_tuple(1, 1.0));

    ProblemFileData tooManySolutions = reading.data;
    tooManySolutions.solutions.assign(101, {1, 1});
    ProblemState untouched;
    const auto error = applyProblemFile(tooManySolutions, untouched);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, FileErrorCode::InvalidProblem);
    EXPECT_EQ(untouched.record.order, 0);
}

}  // namespace
}  // namespace zl
