// Fuzz target: Save, from any content a window can hold to a file and back
// through Open. Properties: content Save refuses leaves no file; content it
// writes reads back without error and writes the same text again (integers
// rounded halves to even), and no temporary file stays.

#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>

#include "core/files/problem_file.h"
#include "core/files/problem_file_reader.h"
#include "core/files/problem_file_writer.h"
#include "core/numbers/number_reading.h"
#include "fuzz_require.h"

namespace {

/// Ordinary values, and the edges of how numbers are written (.5 as 0.5,
/// 1E-05, 15 digits, halves of integers, the largest doubles, no number).
double fuzzedNumber(FuzzedDataProvider &input) {
    using limits = std::numeric_limits<double>;
    // clang-format off
    constexpr double kEdges[] = {0, 0.5, -0.25, 1e-5, 1e15, 123456789012345.6, limits::max(), 2.5, 3.5, -0.0, 1e-300,
                                 1e21, 32767, 2147483647.5, 4e9, -2147483648.5, limits::infinity(), limits::quiet_NaN()};
    // clang-format on
    if (input.ConsumeBool()) return kEdges[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kEdges) - 1)];
    return input.ConsumeFloatingPoint<double>();
}

zl::ProblemFileData fuzzedContent(FuzzedDataProvider &input) {
    const auto text = [&input] { return input.ConsumeRandomLengthString(64); };
    const auto count = [&input](std::size_t most) { return input.ConsumeIntegralInRange<std::size_t>(0, most); };
    zl::ProblemFileData data{fuzzedNumber(input), fuzzedNumber(input), {}, {}, {}};
    const std::size_t order = count(4);
    for (std::size_t i = 0; i < order; ++i)
        data.variables.push_back({text(), fuzzedNumber(input), fuzzedNumber(input), fuzzedNumber(input), text()});
    for (std::size_t j = count(3); j > 0; --j) data.constants.push_back(text());
    for (std::size_t k = count(3); k > 0; --k) {
        std::vector<double> values(input.ConsumeBool() ? order : count(5));  // now and then the wrong count
        for (double &value : values) value = fuzzedNumber(input);
        data.solutions.push_back(std::move(values));
    }
    return data;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size) {
    // One folder per process, in memory where there is /dev/shm, removed at the end.
    static const std::filesystem::path &folder = *[] {
        const auto *path =
            new std::filesystem::path((std::filesystem::exists("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                                           : std::filesystem::temp_directory_path()) /
                                      ("zerolith-fuzz-save-" + std::to_string(::getpid())));
        std::filesystem::create_directories(*path);
        std::atexit([] { std::filesystem::remove_all(folder); });
        return path;
    }();
    FuzzedDataProvider input(bytes, size);
    const zl::ProblemFileData data = fuzzedContent(input);
    const auto path = folder / "problem.zerolith";
    std::filesystem::remove(path);

    const auto refused = zl::saveProblemFile(path.string(), data);
    require(refused.has_value() == zl::findUnwritableContent(data).has_value());
    if (refused) {
        require(!refused->message.empty() && !std::filesystem::exists(path));
        return 0;
    }
    const zl::ProblemFileReading reading = zl::readProblemFile(path.string());
    if (!reading.ok()) std::fprintf(stderr, "fuzz_save: %s\n", reading.error->message.c_str());
    require(reading.ok());
    zl::ProblemFileData expected = data;  // as written: the integer fields are read rounded halves to even
    expected.maxCycles = *zl::roundToInt32(data.maxCycles);
    for (zl::VariableRecord &variable : expected.variables)
        variable.subintervals = *zl::roundToInt32(variable.subintervals);
    require(zl::problemFileText(reading.data) == zl::problemFileText(expected));
    require(std::distance(std::filesystem::directory_iterator(folder), {}) == 1);  // no temporary left
    return 0;
}
