#pragma once

#include <cstdio>
#include <cstdlib>

// Stops the run when a property of the decoded data does not hold, so libFuzzer keeps the
// input that broke it. Unlike assert() it stays on in optimised builds.
#define PWX_FUZZ_CHECK(condition)                                                        \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)
