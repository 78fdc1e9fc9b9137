#pragma once

#include <string>
#include <string_view>

namespace tarnwk::win32 {

// UTF-8 inside the program, UTF-16 at the Win32 boundary. Invalid input
// becomes U+FFFD rather than being dropped.
std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);

// The system's description of an error number (GetLastError), without the
// line end FormatMessageW adds.
std::string errorText(unsigned long error);

}  // namespace tarnwk::win32
