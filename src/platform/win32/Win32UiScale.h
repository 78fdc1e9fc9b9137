// Design sizes in twips turned into pixels at a window's real DPI, and the
// system's message font at that DPI.
#pragma once

#include <windows.h>

#include <string>

#include "platform/ui.h"

namespace tarnwk::win32 {

constexpr UINT kDesignDpi = 96;

// Twips (1/1440 inch) to pixels at `dpi`, rounded to the nearest pixel.
int twipsToPixels(int twips, UINT dpi);
RECT pixelRect(const ui::Twips& twips, UINT dpi);

// The DPI of the monitor a window is on (96 where the system cannot say).
UINT windowDpi(HWND window);
// The DPI of the monitor under the mouse pointer.
UINT pointerDpi();

// The window rectangle size for a client area of the given size.
SIZE frameSize(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi);

// A font as a control declares it: the message font's face unless the
// control names another (the old "MS Sans Serif" means the message font),
// at the declared point size for `dpi`. The caller owns the handle.
HFONT createControlFont(const ui::Font& font, bool underline, UINT dpi);
// The face name of the system's message font.
std::wstring messageFontFace(UINT dpi);

}  // namespace tarnwk::win32
