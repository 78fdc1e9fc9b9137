#include "platform/win32/Win32Console.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdlib>

#include "platform/win32/WideText.h"

namespace tarnwk::win32 {
namespace {

std::atomic<int>* stopFlag = nullptr;
UINT previousCodePage = 0;

BOOL WINAPI onConsoleEvent(DWORD event) {
    if (!stopFlag) return FALSE;
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
        case CTRL_CLOSE_EVENT:
            *stopFlag = 2;
            return TRUE;
        default:
            return FALSE;
    }
}

void restoreCodePage() {
    if (previousCodePage) SetConsoleOutputCP(previousCodePage);
}

}  // namespace

std::vector<std::string> commandLineArguments() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> utf8;
    for (int i = 1; arguments && i < count; ++i) utf8.push_back(toUtf8(arguments[i]));
    if (arguments) LocalFree(arguments);
    return utf8;
}

void stopOnConsoleBreak(std::atomic<int>& stop) {
    stopFlag = &stop;
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

void prepareConsole() {
    DWORD mode = 0;
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (!GetConsoleMode(error, &mode)) return;
    SetConsoleMode(error, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    previousCodePage = GetConsoleOutputCP();
    if (previousCodePage != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) std::atexit(restoreCodePage);
}

}  // namespace tarnwk::win32
