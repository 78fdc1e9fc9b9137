#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <functional>
#include <string>

#include "platform/ui.h"

namespace tarnwk::win32 {

// The program's icon in the notification area, with a hidden window of its
// own that receives the icon's mouse messages. Registered again when the
// taskbar comes back (Explorer restarted); removed when it goes.
class Win32TrayIcon {
public:
    static constexpr UINT kCallbackMessage = WM_APP + 10;
    static constexpr UINT kIconId = 1;

    Win32TrayIcon(std::string_view tip, std::function<void(ui::TrayMessage)> onMessage);
    ~Win32TrayIcon();
    Win32TrayIcon(const Win32TrayIcon&) = delete;
    Win32TrayIcon& operator=(const Win32TrayIcon&) = delete;

    // True when the shell took the icon.
    bool registered() const { return registered_; }
    HWND hwnd() const { return hwnd_; }
    const NOTIFYICONDATAW& data() const { return data_; }
    // Takes the icon out of the notification area.
    void remove();

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool add();

    HWND hwnd_ = nullptr;
    NOTIFYICONDATAW data_{};
    bool registered_ = false;
    UINT taskbarCreated_ = 0;
    std::function<void(ui::TrayMessage)> onMessage_;
};

}  // namespace tarnwk::win32
