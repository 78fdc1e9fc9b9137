#include "platform/win32/Win32UiTray.h"

#include "platform/win32/WideText.h"
#include "platform/win32/Win32UiArtwork.h"

namespace tarnwk::win32 {

namespace {

constexpr const wchar_t* kTrayWindowClass = L"TarnwickTray";

void registerClass() {
    static const bool registered = [] {
        WNDCLASSEXW type{};
        type.cbSize = sizeof(type);
        type.lpfnWndProc = DefWindowProcW;
        type.hInstance = GetModuleHandleW(nullptr);
        type.lpszClassName = kTrayWindowClass;
        return RegisterClassExW(&type) != 0;
    }();
    (void)registered;
}

}  // namespace

Win32TrayIcon::Win32TrayIcon(std::string_view tip, std::function<void(ui::TrayMessage)> onMessage)
    : onMessage_(std::move(onMessage)) {
    registerClass();
    // A hidden top-level window, not a message-only one: only top-level
    // windows hear that the taskbar was created again.
    hwnd_ = CreateWindowExW(0, kTrayWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&windowProc));
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");

    // The size of the structure this program was built with: the shell reads
    // the fields up to it (the old 88-byte form does not fit a 64-bit one).
    data_.cbSize = sizeof(NOTIFYICONDATAW);
    data_.hWnd = hwnd_;
    data_.uID = kIconId;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = kCallbackMessage;
    data_.hIcon = programIcon(GetSystemMetrics(SM_CXSMICON));
    const std::wstring text = toWide(tip);
    lstrcpynW(data_.szTip, text.c_str(), static_cast<int>(std::size(data_.szTip)));
    registered_ = add();
}

Win32TrayIcon::~Win32TrayIcon() {
    remove();
    if (hwnd_) DestroyWindow(hwnd_);
}

bool Win32TrayIcon::add() {
    return Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
}

void Win32TrayIcon::remove() {
    if (registered_) Shell_NotifyIconW(NIM_DELETE, &data_);
    registered_ = false;
}

LRESULT CALLBACK Win32TrayIcon::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* tray = reinterpret_cast<Win32TrayIcon*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!tray) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == kCallbackMessage && wParam == kIconId) {
        // The mouse message travels in the low word of the parameter.
        const UINT mouse = LOWORD(lParam);
        if (tray->onMessage_ && (mouse == static_cast<UINT>(ui::TrayMessage::LeftButtonDown) ||
                                 mouse == static_cast<UINT>(ui::TrayMessage::LeftDoubleClick) ||
                                 mouse == static_cast<UINT>(ui::TrayMessage::RightButtonUp)))
            tray->onMessage_(static_cast<ui::TrayMessage>(mouse));
        return 0;
    }
    if (message == tray->taskbarCreated_ && tray->taskbarCreated_ != 0) {
        // A shell that still holds the icon refuses to add it twice.
        tray->registered_ = tray->add() || Shell_NotifyIconW(NIM_MODIFY, &tray->data_) != FALSE;
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace tarnwk::win32
