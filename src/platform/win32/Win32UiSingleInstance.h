#pragma once

#include <windows.h>

#include <chrono>
#include <string>

#include "platform/platform.h"

namespace tarnwk::win32 {

// One running instance per user. A named mutex in the user's name decides
// which start runs, also for two starts at the same moment; the running
// one is then found by its hidden application window (class
// "ThunderRT6Main", text: the application title).
class Win32SingleInstance final : public platform::SingleInstance {
public:
    // `applicationWindow` is this instance's own hidden application window;
    // `mainCaption` the caption of the main window a later start shows.
    Win32SingleInstance(HWND applicationWindow, std::string title, std::string mainCaption);
    ~Win32SingleInstance() override;
    Win32SingleInstance(const Win32SingleInstance&) = delete;
    Win32SingleInstance& operator=(const Win32SingleInstance&) = delete;

    bool claim() override;
    // Renames this instance's application window to "unwanted instance",
    // finds the running one's, restores and brings forward the window just
    // above it, and shows the window with the main caption.
    bool activateRunning() override;

    // The mutex's name: per user, in the session's namespace.
    static std::wstring mutexName(std::wstring_view title);
    // How long a later start waits for a running one's window to appear
    // (it may be starting at this moment).
    static constexpr std::chrono::milliseconds kFindWindowFor{3000};

private:
    HWND appWindow_;
    std::string title_;
    std::string mainCaption_;
    HANDLE mutex_ = nullptr;
};

}  // namespace tarnwk::win32
