#pragma once

namespace tarnwk::platform {

// The character that joins folder and file names on this platform.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

}  // namespace tarnwk::platform
