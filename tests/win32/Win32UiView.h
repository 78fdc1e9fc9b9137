// Serving the Win32 backend's message queue and reading its windows, for the
// backend's tests.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "platform/ui.h"
#include "platform/win32/Win32Ui.h"
#include "platform/win32/Win32UiFormPeer.h"

namespace tarnwk::test {

// Serves the queue for `ms` milliseconds, or until `done` holds.
inline bool serve(win32::Win32Ui& backend, int ms, const std::function<bool()>& done = {}) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
        backend.flushAll();
        backend.serveWaiting(std::chrono::milliseconds(50));
        if (done && done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    } while (std::chrono::steady_clock::now() < until);
    return done && done();
}

inline HWND windowOf(win32::Win32Ui& backend, const ui::Form& form) {
    return backend.peerOf(form)->hwnd();
}

inline std::wstring textOf(HWND window) {
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, 512);
    return text;
}

}  // namespace tarnwk::test
