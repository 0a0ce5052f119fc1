#pragma once

#include <cstdio>
#include <cstdlib>

// A broken invariant is a finding: libFuzzer keeps the input that aborts. The condition and its
// line are printed first, so that the report says which invariant broke without a debugger.
#define FUZZ_REQUIRE(condition)                                                                    \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
