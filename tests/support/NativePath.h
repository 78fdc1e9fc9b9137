// Paths in tests are written with '/'; these give them the system's
// separator, so one expectation holds on every system.
#pragma once

#include <algorithm>
#include <string>

#include "platform/PathText.h"

namespace tarnwk::test {

inline std::string nativePath(std::string path) {
    std::replace(path.begin(), path.end(), '/', kPathSeparator);
    return path;
}

inline std::string operator""_path(const char* text, std::size_t size) {
    return nativePath(std::string(text, size));
}

}  // namespace tarnwk::test

namespace tarnwk {
using test::operator""_path;
}  // namespace tarnwk
