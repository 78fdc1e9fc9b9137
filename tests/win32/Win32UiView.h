// The Win32 backend's view of a form, serving its message queue, and input
// as a user gives it, for the backend's tests.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/ui.h"
#include "platform/win32/Win32Ui.h"
#include "platform/win32/Win32UiFormPeer.h"
#include "platform/win32/Win32UiScale.h"

namespace tarnwk::test {

struct Win32View {
    win32::Win32Ui& backend;
    ui::Form& form;

    win32::Win32FormPeer* peer() const { return backend.peerOf(form); }
    HWND window() const { return peer()->hwnd(); }
    HWND of(const ui::Control& control) const { return peer()->windowOf(control); }
};

// Serves the queue until `done` holds or `ms` milliseconds have passed.
inline bool serveUntil(win32::Win32Ui& backend, const std::function<bool()>& done, int ms = 5000) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
        backend.flushAll();
        backend.serveWaiting(std::chrono::milliseconds(50));
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    } while (std::chrono::steady_clock::now() < until);
    return done();
}

inline void serveFor(win32::Win32Ui& backend, int ms) {
    serveUntil(
        backend, [] { return false; }, ms);
}

inline std::wstring className(HWND window) {
    wchar_t name[128] = L"";
    GetClassNameW(window, name, 128);
    return name;
}

inline std::wstring textOf(HWND window) {
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, 512);
    return text;
}

// A window's rectangle in its parent's client coordinates.
inline RECT placeInParent(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The DPI the system is set to for the test: TARNWK_TEST_DPI, 96 unless set.
inline unsigned testDpi() {
    const char* set = std::getenv("TARNWK_TEST_DPI");
    return set && *set ? static_cast<unsigned>(std::atoi(set)) : 96u;
}

// The design rectangle in pixels at the test's DPI.
inline RECT designPixels(int left, int top, int width, int height) {
    return win32::pixelRect({left, top, width, height}, testDpi());
}

// Presses and releases keys through the system's input queue.
inline void pressKeys(std::initializer_list<WORD> held, WORD key) {
    std::vector<INPUT> inputs;
    auto add = [&inputs](WORD vk, DWORD flags) {
        inputs.push_back({});
        inputs.back().type = INPUT_KEYBOARD;
        inputs.back().ki = {vk, 0, flags, 0, 0};
    };
    for (WORD vk : held) add(vk, 0);
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    for (auto it = held.end(); it != held.begin();) add(*--it, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// A left click through the message queue at a point of the window's client area.
inline void clickAt(HWND window, POINT at) {
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

}  // namespace tarnwk::test
