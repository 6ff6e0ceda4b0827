// The checks of the fuzz targets: a failed one names itself and aborts, which
// libFuzzer reports as a crash and keeps the input of.
#pragma once

#include <cstdio>
#include <cstdlib>

#define KT_REQUIRE(cond)                                                                   \
    do {                                                                                   \
        if (!(cond)) {                                                                     \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);  \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)
