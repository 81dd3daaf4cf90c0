// Fuzz target: Save, from any content a window could hold to the file on
// disk and back. Properties: content Save refuses leaves no file behind;
// content it writes goes through the atomic replacement, is read back by Open
// without error, and gives the very same file when written again.

#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>

#include "core/files/problem_file.h"
#include "core/files/problem_file_reader.h"
#include "core/files/problem_file_writer.h"
#include "core/numbers/number_reading.h"
#include "core/numbers/number_text.h"

namespace {

#define require(condition)                                                                                             \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "fuzz_save: %s fails at line %d\n", #condition, __LINE__);                            \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

/// A number as a field may read: ordinary values, and the edges that change
/// how it is written (.5 as 0.5, 1E-05, 15 digits, the largest doubles).
double fuzzedNumber(FuzzedDataProvider &input) {
    constexpr double kEdges[] = {0,
                                 0.5,
                                 -0.25,
                                 1e-5,
                                 1e15,
                                 123456789012345.6,
                                 1.7976931348623157e308,
                                 2.5,
                                 3.5,
                                 -0.0,
                                 1e-300,
                                 1e21,
                                 32767,
                                 2147483647.5,
                                 -2147483648.5,
                                 4e9,
                                 std::numeric_limits<double>::infinity(),
                                 std::numeric_limits<double>::quiet_NaN()};
    if (input.ConsumeBool()) return kEdges[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kEdges) - 1)];
    return input.ConsumeFloatingPoint<double>();
}

std::string fuzzedText(FuzzedDataProvider &input) { return input.ConsumeRandomLengthString(64); }

zl::ProblemFileData fuzzedContent(FuzzedDataProvider &input) {
    zl::ProblemFileData data;
    data.maxError = fuzzedNumber(input);
    data.maxCycles = fuzzedNumber(input);
    const std::size_t order = input.ConsumeIntegralInRange<std::size_t>(0, 4);
    for (std::size_t i = 0; i < order; ++i)
        data.variables.push_back(
            {fuzzedText(input), fuzzedNumber(input), fuzzedNumber(input), fuzzedNumber(input), fuzzedText(input)});
    const std::size_t constants = input.ConsumeIntegralInRange<std::size_t>(0, 3);
    for (std::size_t j = 0; j < constants; ++j) data.constants.push_back(fuzzedText(input));
    const std::size_t solutions = input.ConsumeIntegralInRange<std::size_t>(0, 3);
    for (std::size_t k = 0; k < solutions; ++k) {
        std::vector<double> values;  // now and then not one value per variable
        const std::size_t count = input.ConsumeBool() ? order : input.ConsumeIntegralInRange<std::size_t>(0, 5);
        for (std::size_t j = 0; j < count; ++j) values.push_back(fuzzedNumber(input));
        data.solutions.push_back(std::move(values));
    }
    return data;
}

/// One folder per process, in memory where the system has one.
const std::filesystem::path &saveFolder() {
    static const std::filesystem::path folder = [] {
        const std::filesystem::path base =
            std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        auto path = base / ("zerolith-fuzz-save-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size) {
    FuzzedDataProvider input(bytes, size);
    const zl::ProblemFileData data = fuzzedContent(input);
    const auto path = saveFolder() / "problem.zerolith";
    std::filesystem::remove(path);

    const auto refused = zl::saveProblemFile(path.string(), data);
    require(refused.has_value() == zl::findUnwritableContent(data).has_value());
    if (refused) {
        require(!refused->message.empty());
        require(!std::filesystem::exists(path));
        return 0;
    }
    const zl::ProblemFileReading reading = zl::readProblemFile(path.string());
    if (!reading.ok()) std::fprintf(stderr, "fuzz_save: %s\n", reading.error->message.c_str());
    require(reading.ok());
    // Texts come back as they were, numbers as their texts (integers rounded halves to even).
    const zl::ProblemFileData &back = reading.data;
    const auto sameText = [](double a, double b) { return zl::generalNumberText(a) == zl::generalNumberText(b); };
    require(back.variables.size() == data.variables.size());
    require(back.constants == data.constants);
    require(sameText(back.maxError, data.maxError));
    require(back.maxCycles == *zl::roundToInt32(data.maxCycles));
    for (std::size_t i = 0; i < data.variables.size(); ++i) {
        const zl::VariableRecord &was = data.variables[i];
        const zl::VariableRecord &is = back.variables[i];
        require(is.name == was.name && is.equation == was.equation);
        require(sameText(is.lowerLimit, was.lowerLimit) && sameText(is.upperLimit, was.upperLimit));
        require(is.subintervals == *zl::roundToInt32(was.subintervals));
    }
    require(back.solutions.size() == data.solutions.size());
    for (std::size_t k = 0; k < data.solutions.size(); ++k)
        for (std::size_t j = 0; j < data.solutions[k].size(); ++j)
            require(sameText(back.solutions[k][j], data.solutions[k][j]));
    require(std::distance(std::filesystem::directory_iterator(saveFolder()), {}) == 1);  // no temporary left
    return 0;
}
