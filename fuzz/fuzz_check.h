#pragma once
// The check every fuzzer relies on: a broken invariant stops the run at once with its place and
// condition, also in builds that define NDEBUG, so that libFuzzer records the input.

#include <cstdio>
#include <cstdlib>

#define FUZZ_REQUIRE(condition)                                                                    \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
