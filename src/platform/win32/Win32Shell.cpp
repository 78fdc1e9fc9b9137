#include "platform/win32/Win32Shell.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "platform/win32/WideText.h"

namespace tarnwk::win32 {

void Win32Shell::open(std::string_view address) {
    const std::wstring target = toWide(address);
    if (target.empty()) return;
    // The result is not looked at: nothing is said when no program opens it.
    ShellExecuteW(nullptr, nullptr, target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace tarnwk::win32
