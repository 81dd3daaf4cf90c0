#pragma once
// Certify: the complete search over the search box as a run beside Explore
// and Random. It lists every root it proves as the list shows solutions
// (stored as they are), then says whether the search was complete.

#include <atomic>
#include <cstdint>
#include <optional>

#include "core/certify/branch_and_prune.h"
#include "core/problem/problem_state.h"
#include "core/problem/residual_system.h"
#include "core/solver/solution_list_view.h"

namespace zl {

class ScriptEngine;

struct CertifyOptions {
    /// Boxes narrower than this in every variable stay undecided; maxError when not given.
    std::optional<double> minWidth;
    SearchControl control;  ///< threads, stop request, progress
};

enum class CertifyEnd {
    Complete,        ///< every box decided: the list holds every root in the box
    Incomplete,      ///< some boxes stayed undecided (listed after the summary)
    Stopped,         ///< the stop request ended the search
    NoIntervalForm,  ///< an equation holds something intervals cannot enclose
    NoBox,           ///< a limit is not a finite number
    FatalError,      ///< a residual failed with an error outside the recoverable set
};

struct CertifySummary {
    CertifyEnd end = CertifyEnd::Complete;
    std::int64_t roots = 0;
    std::int64_t undecided = 0;
    std::int32_t fatalErrorNumber = 0;
    SearchStatistics statistics;
};

/// Runs Certify on the prepared problem (residuals compiled, constants
/// registered). Appends to the list and stores the solutions it lists; sets
/// the count text. The engine resolves the names of the interval program.
CertifySummary runCertify(ProblemState &problem, ResidualSystem &residuals, ScriptEngine &engine,
                          SolutionListView &list, const CertifyOptions &options = {});

}  // namespace zl
