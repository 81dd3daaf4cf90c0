// Certify on the benchmark systems of bench/problems: the whole search, from
// the problem file to the list of proved roots. Counters give the roots, the
// boxes searched and the proofs made. IbexSolve 2.9.1 with default options
// takes, on a 2-core machine of this kind: Himmelblau 0.005 s, Caprasse
// 0.67 s, Eco9 6.4 s, Katsura-6 22.5 s (one box left undecided), Kin1 0.16 s.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "core/files/problem_file_reader.h"
#include "core/session/session.h"
#include "core/solver/solution_list_view.h"
#include "discarding_list.h"

namespace {

using zl::bench::DiscardingList;

/// A problem file opened as the command line opens it.
struct OpenedProblem {
    zl::Session session;

    bool open(const std::string &path) {
        const zl::ProblemFileReading reading = zl::readProblemFile(path);
        if (!reading.ok() || session.open(reading.data)) return false;
        return !session.prepareRun(zl::RunKind::Certify, reading.data.constants, session.recordFieldTexts());
    }
};

void certifyFile(benchmark::State &state, const std::string &name) {
    const std::string path = std::string(ZEROLITH_BENCH_PROBLEMS) + "/" + name + ".zerolith";
    zl::CertifySummary summary;
    for (auto _ : state) {
        state.PauseTiming();
        auto opened = std::make_unique<OpenedProblem>();
        if (!opened->open(path)) {
            state.SkipWithError(("cannot open " + path).c_str());
            return;
        }
        DiscardingList list;
        state.ResumeTiming();
        summary = opened->session.certify(list);
    }
    state.counters["roots"] = static_cast<double>(summary.roots);
    state.counters["undecided"] = static_cast<double>(summary.undecided);
    state.counters["boxes"] = static_cast<double>(summary.statistics.boxes);
    state.counters["proofs"] = static_cast<double>(summary.statistics.proofs);
    state.counters["newton"] = static_cast<double>(summary.statistics.newtonRuns);
    state.counters["sweeps"] = static_cast<double>(summary.statistics.propagations);
    state.counters["steps"] = static_cast<double>(summary.statistics.newtonSteps);
}

BENCHMARK_CAPTURE(certifyFile, himmelblau, std::string("himmelblau"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(certifyFile, kin1, std::string("kin1"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(certifyFile, caprasse, std::string("caprasse"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(certifyFile, eco9, std::string("eco9"))->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(certifyFile, katsura6, std::string("katsura6"))->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
