#include "platform/win32/Win32Terminal.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace tarnwk::win32 {

bool Win32Terminal::errorIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

int Win32Terminal::width() {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info)) return 80;
    const int columns = info.srWindow.Right - info.srWindow.Left + 1;
    return columns > 0 ? columns : 80;
}

std::optional<bool> Win32Terminal::writeToConsole(std::string_view text) {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (!GetConsoleMode(output, &mode)) return std::nullopt;
    std::wstring wide = toWide(text);
    for (std::wstring_view rest = wide; !rest.empty();) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(rest.size(), 8192));
        if (!WriteConsoleW(output, rest.data(), chunk, &written, nullptr) || written == 0)
            return false;
        rest.remove_prefix(written);
    }
    return true;
}

}  // namespace tarnwk::win32
