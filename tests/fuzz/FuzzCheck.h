#pragma once

#include <cstdio>
#include <cstdlib>

// An assertion that holds in every build type; libFuzzer keeps the input that
// breaks it.
#define FUZZ_CHECK(condition) \
    ((condition)              \
         ? void(0)            \
         : (std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #condition), std::abort()))
