// The Win32 backend's view of a form, and serving its message queue, for
// the backend's tests.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

#include "platform/ui.h"
#include "platform/win32/Win32Ui.h"
#include "platform/win32/Win32UiFormPeer.h"

namespace tarnwk::test {

struct Win32View {
    win32::Win32Ui& backend;
    ui::Form& form;

    win32::Win32FormPeer* peer() const { return backend.peerOf(form); }
    HWND window() const { return peer()->hwnd(); }
    HWND of(const ui::Control& control) const { return peer()->windowOf(control); }
};

// Serves the queue for about `ms` milliseconds.
void serveFor(win32::Win32Ui& backend, int ms);
// Serves the queue until `done` holds or `ms` milliseconds have passed.
bool serveUntil(win32::Win32Ui& backend, const std::function<bool()>& done, int ms = 5000);

std::wstring className(HWND window);
std::wstring textOf(HWND window);
// A window's rectangle in its parent's client coordinates.
RECT placeInParent(HWND window);
// The DPI the system is set to for the test: TARNWK_TEST_DPI, 96 unless set.
unsigned testDpi();
// The design rectangle in pixels at the test's DPI.
RECT designPixels(int left, int top, int width, int height);
// Presses and releases keys through the system's input queue.
void pressKeys(std::initializer_list<WORD> held, WORD key);
// A left click through the message queue at a point of the window's client area.
void clickAt(HWND window, POINT at);

}  // namespace tarnwk::test
