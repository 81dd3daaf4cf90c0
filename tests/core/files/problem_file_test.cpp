#include "core/files/problem_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>

#include <unistd.h>

#include "core/files/problem_file_reader.h"
#include "core/files/problem_file_writer.h"

namespace zl {
namespace {

namespace fs = std::filesystem;

const std::string kExampleBytes =
    "Rootex\r\n"
    "2,1,0.001,8\r\n"
    "\"x\",-5,5,10,\"x^2+y^2=k\"\r\n"
    "\"y\",-5,5,10,\"x=y\"\r\n"
    " 1 \r\n"
    "k=2\r\n"
    " 1 \r\n"
    " 1 \r\n";

/// The example problem as the window holds it: names and one solution in the
/// record, the rest in the fields.
struct ExampleWindow {
    ProblemState problem;
    ProblemFieldTexts fields{"0.001", "8", {"-5", "-5"}, {"5", "5"}, {"10", "10"}, {"x^2+y^2=k", "x=y"}};
    std::vector<std::string> constantItems{"k=2"};

    ExampleWindow() {
        problem.sizeProblem(2);
        problem.spec.varNames = {"x", "y"};
        problem.store.solutionCount = 1;
        problem.store.solutions(0, 1) = 1;
        problem.store.solutions(1, 1) = 1;
    }
    ProblemFileData data() const { return problemFileDataToSave(problem, fields, constantItems); }
};

TEST(ProblemFileWriter, WritesTheExampleByteForByte) {
    EXPECT_EQ(problemFileText(ExampleWindow().data()), kExampleBytes);
}

TEST(ProblemFileWriter, SavesTheNumericReadingOfEachField) {
    ExampleWindow window;
    window.fields = {"", "12abc", {" -1 5", ".5"}, {"1e-6", "2.5E+20"}, {"2.5", "3.5"}, {"x=1"}};
    window.problem.store.solutionCount = 0;
    window.constantItems.clear();
    EXPECT_EQ(problemFileText(window.data()),
              "Rootex\r\n2,0,0,12\r\n"
              "\"x\",-15,1E-06,2.5,\"x=1\"\r\n"
              "\"y\",0.5,2.5E+20,3.5,\"\"\r\n"
              " 0 \r\n");
}

TEST(ProblemFileWriter, SubintervalsWrittenFractionalReadBackRoundedHalvesToEven) {
    ExampleWindow window;
    window.fields.subintervals = {"2.5", "3.5"};
    const auto reading = readProblemFileText(problemFileText(window.data()));
    ASSERT_TRUE(reading.ok()) << reading.error->message;
    EXPECT_EQ(reading.data.variables[0].subintervals, 2);
    EXPECT_EQ(reading.data.variables[1].subintervals, 4);
}

TEST(ProblemFile, WriteReadWriteIsByteIdentical) {
    ProblemFileData data;
    data.maxError = 1e-10;
    data.maxCycles = 150;
    data.variables = {{"alpha", -1e-7, 123456789012345, 1, "sin(alpha)=cos(b2)*0.5"},
                      {" b2", -0.25, 3.5e20, 0, "alpha+b2"},
                      {"", 0, 0, -3, ""}};
    data.constants = {"c=2*pi", "", "d=c^2 "};
    data.solutions = {{0.1, -2.0 / 3.0, 1e-300}, {-1, 0, 7}};
    const auto firstText = problemFileText(data);
    const auto reading = readProblemFileText(firstText);
    ASSERT_TRUE(reading.ok()) << reading.error->message;
    EXPECT_EQ(problemFileText(reading.data), firstText);
    EXPECT_EQ(reading.data.constants, data.constants);
    EXPECT_EQ(reading.data.variables[1].name, " b2");
}

TEST(ProblemFile, SaveAndReadBackThroughTheDisk) {
    const auto folder = fs::temp_directory_path() / ("zerolith-save-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const auto path = (folder / "example.zerolith").string();
    ASSERT_FALSE(saveProblemFile(path, ExampleWindow().data()));
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(bytes.str(), kExampleBytes);
    const auto reading = readProblemFile(path);
    EXPECT_TRUE(reading.ok());
    fs::remove_all(folder);
}

struct RefusalCase {
    const char *name;
    std::function<void(ProblemFileData &)> spoil;
    FileErrorCode code;
    const char *fragment;
};

class SaveRefusalTest : public testing::TestWithParam<RefusalCase> {};

TEST_P(SaveRefusalTest, RefusesContentThatWouldNotReadBackAndWritesNothing) {
    auto data = ExampleWindow().data();
    GetParam().spoil(data);
    const auto folder = fs::temp_directory_path() / ("zerolith-refuse-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const auto path = folder / "refused.zerolith";

    const auto error = saveProblemFile(path.string(), data);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, GetParam().code);
    EXPECT_NE(error->message.find(GetParam().fragment), std::string::npos) << error->message;
    EXPECT_TRUE(fs::is_empty(folder));
    fs::remove_all(folder);
}

constexpr double kInfinity = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveRefusalTest,
    testing::Values(
        RefusalCase{"QuoteInName", [](auto &d) { d.variables[1].name = "y\""; }, FileErrorCode::UnwritableText,
                    "name of variable 2 holds a double quote"},
        RefusalCase{"QuoteInEquation", [](auto &d) { d.variables[0].equation = "x=\"a\""; },
                    FileErrorCode::UnwritableText, "Equation 1 holds a double quote"},
        RefusalCase{"LineBreakInEquation", [](auto &d) { d.variables[0].equation = "x=1\ny=2"; },
                    FileErrorCode::UnwritableText, "line break"},
        RefusalCase{"CommaInConstant", [](auto &d) { d.constants[0] = "k=max(1,2)"; },
                    FileErrorCode::UnwritableText, "Constant 1 holds a comma"},
        RefusalCase{"CarriageReturnInConstant", [](auto &d) { d.constants[0] = "k=2\r"; },
                    FileErrorCode::UnwritableText, "line break"},
        RefusalCase{"ConstantStartingWithQuote", [](auto &d) { d.constants[0] = "\"k=2"; },
                    FileErrorCode::UnwritableText, "starts with"},
        RefusalCase{"InfiniteLimit", [](auto &d) { d.variables[1].upperLimit = kInfinity; },
                    FileErrorCode::UnwritableNumber, "upper limit of variable 2"},
        RefusalCase{"NaNSolution", [](auto &d) { d.solutions[0][1] = std::nan(""); },
                    FileErrorCode::UnwritableNumber, "solution 1"},
        RefusalCase{"HugeSubintervals", [](auto &d) { d.variables[0].subintervals = 3e10; },
                    FileErrorCode::UnwritableNumber, "subintervals of variable 1"},
        RefusalCase{"HugeIterationLimit", [](auto &d) { d.maxCycles = -3e9; }, FileErrorCode::UnwritableNumber,
                    "iterations"},
        RefusalCase{"NoVariables", [](auto &d) { d.variables.clear(); d.solutions.clear(); },
                    FileErrorCode::InvalidProblem, "1 to 500 variables"},
        RefusalCase{"TooManyConstants", [](auto &d) { d.constants.assign(102, "k=2"); },
                    FileErrorCode::InvalidProblem, "102 constants"},
        RefusalCase{"TooManySolutions", [](auto &d) { d.solutions.assign(101, {1, 1}); },
                    FileErrorCode::InvalidProblem, "100 solutions"},
        RefusalCase{"ShortSolution", [](auto &d) { d.solutions[0].pop_back(); }, FileErrorCode::InvalidProblem,
                    "one value per variable"}),
    [](const testing::TestParamInfo<RefusalCase> &info) { return std::string(info.param.name); });

TEST(ProblemFile, ApplyFillsTheRecordAsOpenDoes) {
    const auto reading = readProblemFileText(kExampleBytes);
    ASSERT_TRUE(reading.ok());
    ProblemState problem;
    problem.spec.fileName = "kept.zerolith";
    problem.spec.randomSeeds = 7;
    ASSERT_FALSE(applyProblemFile(reading.data, problem));

    const auto &spec = problem.spec;
    EXPECT_EQ(spec.order, 2);
    EXPECT_EQ(spec.lastIndex, 1);
    EXPECT_EQ(spec.varNames, (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(spec.equations, (std::vector<std::string>{"x^2+y^2=k", "x=y"}));
    EXPECT_EQ(spec.residuals, (std::vector<std::string>{"x^2+y^2-(k)", "x-(y)"}));
    EXPECT_EQ(spec.lowerLimits, (std::vector<double>{-5, -5}));
    EXPECT_EQ(spec.upperLimits, (std::vector<double>{5, 5}));
    EXPECT_EQ(spec.subintervals, (std::vector<std::int32_t>{10, 10}));
    EXPECT_DOUBLE_EQ(spec.maxError, 0.001);
    EXPECT_EQ(spec.maxCycles, 8);
    EXPECT_EQ(spec.constantCount, 1);
    EXPECT_EQ(spec.constants[0], "k=2");
    EXPECT_EQ(problem.store.solutionCount, 1);
    EXPECT_EQ(problem.store.solutions(0, 1), 1);
    EXPECT_EQ(problem.store.solutions(1, 1), 1);
    EXPECT_EQ(problem.work.systemMatrix.columns(), 3);
    EXPECT_EQ(spec.fileName, "kept.zerolith");
    EXPECT_EQ(spec.randomSeeds, 7);
}

TEST(ProblemFile, ApplyRefusesDataBeyondTheRecordAndChangesNothing) {
    ProblemFileData tooManySolutions = ExampleWindow().data();
    tooManySolutions.solutions.assign(101, {1, 1});
    ProblemFileData noVariables;
    for (const auto &data : {tooManySolutions, noVariables}) {
        ProblemState problem;
        const auto error = applyProblemFile(data, problem);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code, FileErrorCode::InvalidProblem);
        EXPECT_EQ(problem.spec.order, 0);
        EXPECT_TRUE(problem.spec.varNames.empty());
    }
}

TEST(ProblemFile, SaveWritesEveryConstantsListItemAndOnlyTheStoredSolutions) {
    ExampleWindow window;
    window.constantItems = {"typed=1", "k=2"};  // typed before Open, in front of the file's
    window.problem.store.solutions(0, 2) = 99;  // beyond solutionCount: not saved
    const auto data = window.data();
    EXPECT_EQ(data.constants, window.constantItems);
    EXPECT_EQ(data.solutions.size(), 1u);
}

} // namespace
} // namespace zl
