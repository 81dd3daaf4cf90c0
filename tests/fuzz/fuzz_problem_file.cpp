// Fuzz target: the problem-file reader.
// Properties: any bytes give a record or a line-numbered error, never a crash
// or a hang; an accepted record fills a problem. (That what can be written
// reads back to the same bytes is fuzz_save's property.)

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/files/problem_file.h"
#include "core/files/problem_file_reader.h"
#include "core/problem/problem_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const zl::ProblemFileReading reading = zl::readProblemFileText(text);
    if (!reading.ok()) {
        if (reading.error->message.empty()) std::abort();
        return 0;
    }

    zl::ProblemState problem;
    if (!zl::applyProblemFile(reading.data, problem)) {
        if (problem.record.order != static_cast<std::int32_t>(reading.data.variables.size())) std::abort();
        if (problem.store.solutionCount != static_cast<std::int32_t>(reading.data.solutions.size())) std::abort();
    }
    return 0;
}
