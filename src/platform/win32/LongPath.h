#pragma once

#include <string>
#include <string_view>

namespace tarnwk::win32 {

// The absolute form of `path` (UTF-8, '/' or '\'), as the system resolves it
// against the current folder, without a trailing separator except on a root.
std::wstring fullWidePath(std::string_view path);

// The same in the \\?\ form, which reaches paths longer than MAX_PATH and
// names the system would otherwise alter (trailing dots and blanks).
std::wstring extendedPath(std::string_view path);

// Where the root of an absolute path ends: after "C:\", "\\server\share\",
// or their \\?\ forms.
std::size_t rootLength(std::wstring_view path);

}  // namespace tarnwk::win32
