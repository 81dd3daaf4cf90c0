#pragma once
// The heap allocations of the core_eval_tests program, counted (and made to
// fail above a size) by its replacement of operator new.

#include <atomic>
#include <cstddef>

namespace zl::testing {
extern std::atomic<long> allocationCount;
extern std::atomic<std::size_t> allocatedBytes;
extern std::atomic<std::size_t> largestAllocation;  ///< a larger one throws std::bad_alloc
}  // namespace zl::testing
