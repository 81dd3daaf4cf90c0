#pragma once
// Every heap allocation of the core_eval_tests program, counted by the
// replacement of operator new in equation_evaluator_test.cpp.

#include <atomic>
#include <cstddef>

namespace zl::testing {

extern std::atomic<long> allocationCount;
extern std::atomic<std::size_t> allocatedBytes;
/// A larger single allocation fails with std::bad_alloc, as when memory runs out.
extern std::atomic<std::size_t> largestAllocation;

}  // namespace zl::testing
