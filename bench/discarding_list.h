#pragma once
// A solution list that drops every line, so a benchmark times the run alone.

#include <benchmark/benchmark.h>

#include <string>

#include "core/solver/solution_list_view.h"

namespace zl::bench {

class DiscardingList : public SolutionListView {
public:
    void appendLine(const std::string &line) override { benchmark::DoNotOptimize(line.data()); }
    void clearLines() override {}
    void setCountText(const std::string &) override {}
};

}  // namespace zl::bench
