#include "win32/Win32UiView.h"

#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/win32/Win32UiScale.h"

namespace tarnwk::test {

void serveFor(win32::Win32Ui& backend, int ms) {
    serveUntil(
        backend, [] { return false; }, ms);
}

bool serveUntil(win32::Win32Ui& backend, const std::function<bool()>& done, int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
        backend.flushAll();
        backend.serveWaiting(std::chrono::milliseconds(50));
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    } while (std::chrono::steady_clock::now() < until);
    return done();
}

std::wstring className(HWND window) {
    wchar_t name[128] = L"";
    GetClassNameW(window, name, 128);
    return name;
}

std::wstring textOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

RECT placeInParent(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

unsigned testDpi() {
    const char* set = std::getenv("TARNWK_TEST_DPI");
    return set && *set ? static_cast<unsigned>(std::atoi(set)) : 96u;
}

RECT designPixels(int left, int top, int width, int height) {
    return win32::pixelRect({left, top, width, height}, testDpi());
}

void pressKeys(std::initializer_list<WORD> held, WORD key) {
    std::vector<INPUT> inputs;
    auto add = [&inputs](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    for (WORD vk : held) add(vk, false);
    add(key, false);
    add(key, true);
    for (auto it = held.end(); it != held.begin();) add(*--it, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void clickAt(HWND window, POINT at) {
    const LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageW(window, WM_LBUTTONUP, 0, where);
}

}  // namespace tarnwk::test
