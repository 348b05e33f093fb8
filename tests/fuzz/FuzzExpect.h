#pragma once

#include <cstdio>
#include <cstdlib>

// A property that failed: said, and the run ends as a crash, so that the
// fuzzer keeps the input.
#define FUZZ_EXPECT(condition, ...)                          \
    do {                                                     \
        if (!(condition)) {                                  \
            std::fprintf(stderr, "fuzz property failed: ");  \
            std::fprintf(stderr, __VA_ARGS__);               \
            std::fprintf(stderr, "\n");                      \
            std::abort();                                    \
        }                                                    \
    } while (0)
