#include "platform/win32/Win32UiScale.h"

#include <cmath>

#include "platform/win32/WideText.h"

namespace tarnwk::win32 {

namespace {

// Calls of newer systems, looked up once: the program also runs where they
// are missing, at the system DPI.
template <class Function>
Function user32Function(const char* name) {
    static HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
               : nullptr;
}

UINT systemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

NONCLIENTMETRICSW nonClientMetrics(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    using ForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const auto forDpi = user32Function<ForDpi>("SystemParametersInfoForDpi");
    if (!forDpi || !forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi))
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    return metrics;
}

}  // namespace

int twipsToPixels(int twips, UINT dpi) {
    return static_cast<int>(std::lround(twips * static_cast<double>(dpi) / 1440.0));
}

RECT pixelRect(const ui::Twips& twips, UINT dpi) {
    const int left = twipsToPixels(twips.left, dpi);
    const int top = twipsToPixels(twips.top, dpi);
    return {left, top, left + twipsToPixels(twips.width, dpi),
            top + twipsToPixels(twips.height, dpi)};
}

UINT windowDpi(HWND window) {
    using ForWindow = UINT(WINAPI*)(HWND);
    static const auto forWindow = user32Function<ForWindow>("GetDpiForWindow");
    const UINT dpi = forWindow && window ? forWindow(window) : 0;
    return dpi ? dpi : systemDpi();
}

UINT pointerDpi() {
    POINT pointer{};
    GetCursorPos(&pointer);
    HMONITOR monitor = MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY);
    using ForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static HMODULE shcore = LoadLibraryW(L"shcore.dll");
    static const auto forMonitor = shcore ? reinterpret_cast<ForMonitor>(reinterpret_cast<void*>(
                                                GetProcAddress(shcore, "GetDpiForMonitor")))
                                          : nullptr;
    UINT x = 0, y = 0;
    if (forMonitor && SUCCEEDED(forMonitor(monitor, 0, &x, &y)) && y) return y;
    return systemDpi();
}

SIZE frameSize(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi) {
    RECT rect{0, 0, clientWidth, clientHeight};
    using ForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto forDpi = user32Function<ForDpi>("AdjustWindowRectExForDpi");
    if (!forDpi || !forDpi(&rect, style, FALSE, exStyle, dpi))
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

std::wstring messageFontFace(UINT dpi) {
    return nonClientMetrics(dpi).lfMessageFont.lfFaceName;
}

HFONT createControlFont(const ui::Font& font, bool underline, UINT dpi) {
    LOGFONTW face = nonClientMetrics(dpi).lfMessageFont;
    if (!font.family.empty() && font.family != "MS Sans Serif") {
        const std::wstring family = toWide(font.family);
        lstrcpynW(face.lfFaceName, family.c_str(), LF_FACESIZE);
    }
    const double points = font.points > 0 ? font.points : 8.25;
    face.lfHeight = -static_cast<LONG>(std::lround(points * dpi / 72.0));
    face.lfWidth = 0;
    face.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    face.lfUnderline = underline ? TRUE : FALSE;
    face.lfItalic = FALSE;
    return CreateFontIndirectW(&face);
}

}  // namespace tarnwk::win32
