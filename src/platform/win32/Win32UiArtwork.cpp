#include "platform/win32/Win32UiArtwork.h"

#include <commctrl.h>

#include <cctype>
#include <map>

#include "platform/win32/WideText.h"

namespace tarnwk::win32 {

HBITMAP artworkBitmap(const std::string& name) {
    // Kept to the end of the process: endProgram leaves without unwinding.
    static auto& loaded = *new std::map<std::string, HBITMAP>();
    if (name.empty()) return nullptr;
    if (const auto it = loaded.find(name); it != loaded.end()) return it->second;
    std::string resource = name;
    for (char& c : resource) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::wstring wide = toWide(resource);
    auto* bitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), wide.c_str(),
                                                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    loaded.emplace(name, bitmap);
    return bitmap;
}

void drawArtwork(HDC dc, const RECT& area, const std::string& name) {
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    HBITMAP bitmap = artworkBitmap(name);
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info) || info.bmWidth <= 0 ||
        info.bmHeight <= 0)
        return;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    // Fitted: the larger of the two scales that still fits.
    int fittedWidth = width;
    int fittedHeight = MulDiv(info.bmHeight, width, info.bmWidth);
    if (fittedHeight > height) {
        fittedHeight = height;
        fittedWidth = MulDiv(info.bmWidth, height, info.bmHeight);
    }
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, bitmap);
    // The pictures are stored larger than drawn: halftone keeps them smooth.
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, area.left + (width - fittedWidth) / 2, area.top + (height - fittedHeight) / 2,
               fittedWidth, fittedHeight, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

HICON programIcon(int side) {
    static auto& icons = *new std::map<int, HICON>();
    if (const auto it = icons.find(side); it != icons.end()) return it->second;
    HICON icon = nullptr;
    // Scaled down from the next larger image, as the shell does; only the
    // common controls of version 6 can.
    using ScaleDown = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    static HMODULE controls = GetModuleHandleW(L"comctl32.dll");
    static const auto scaleDown = controls ? reinterpret_cast<ScaleDown>(reinterpret_cast<void*>(
                                                 GetProcAddress(controls, "LoadIconWithScaleDown")))
                                           : nullptr;
    if (!scaleDown || FAILED(scaleDown(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconResource),
                                       side, side, &icon)))
        icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr),
                                             MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, side,
                                             side, LR_DEFAULTCOLOR));
    if (!icon) icon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
    icons.emplace(side, icon);
    return icon;
}

}  // namespace tarnwk::win32
