#pragma once
// A fuzz target's property: when it fails, the target names the condition and
// its line, then aborts, which libFuzzer takes as a crash and keeps the input.

#include <cstdio>
#include <cstdlib>

#define require(condition)                                                                                             \
    if (!(condition)) {                                                                                                \
        std::fprintf(stderr, "%s: %s fails at line %d\n", __FILE__, #condition, __LINE__);                             \
        std::abort();                                                                                                  \
    }
