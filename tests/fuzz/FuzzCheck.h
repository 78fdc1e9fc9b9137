#pragma once

#include <cstdlib>

// An assertion that holds in every build type; libFuzzer reports the crash with
// its stack and keeps the input that broke it.
#define FUZZ_CHECK(condition) ((condition) ? void(0) : std::abort())
