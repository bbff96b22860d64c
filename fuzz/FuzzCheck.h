#pragma once

#include <cstdio>
#include <cstdlib>

// A property every input must keep; a broken one stops the fuzzer like a crash, with
// the input saved.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)

#define FUZZ_FAIL(why)                                                  \
    do {                                                                \
        std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, (why)); \
        std::abort();                                                   \
    } while (false)
