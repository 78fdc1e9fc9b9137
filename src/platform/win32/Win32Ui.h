#pragma once

#include <windows.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace tarnwk::win32 {

class Win32FormPeer;
class Win32TrayIcon;

// The plain Win32 toolkit behind the program's forms: one generic window
// per form, the message loop, message boxes, the busy pointer, popup menus
// and the notification-area icon. Every top-level window of the program is
// owned by the hidden application window, so the window just above that one
// is always the program's front window.
class Win32Ui final : public ui::UiBackend {
public:
    static constexpr std::chrono::milliseconds kServeInterval{20};
    // The longest a doEvents call serves messages, so a flood of them cannot
    // starve the walk.
    static constexpr std::chrono::milliseconds kServeBudget{10};

    // `title` is the caption of every message box and the text of the
    // hidden application window.
    explicit Win32Ui(std::string title, std::chrono::milliseconds serveInterval = kServeInterval);
    ~Win32Ui() override;
    Win32Ui(const Win32Ui&) = delete;
    Win32Ui& operator=(const Win32Ui&) = delete;

    std::unique_ptr<ui::FormPeer> createPeer(ui::Form& form) override;
    // Serves the message queue, at most once per serve interval and for at
    // most the serve budget: a walk calls this for every file.
    void doEvents() override;
    void setBusy(bool busy) override;
    platform::MessageResult messageBox(std::string_view text, platform::MessageButtons buttons,
                                       platform::MessageIcon icon) override;
    [[noreturn]] void endProgram(int exitCode) override;
    int popupMenu(const std::vector<std::string>& items) override;
    bool addTrayIcon(std::string_view tip, std::function<void(ui::TrayMessage)> onMessage) override;
    int run() override;
    // Runs `action` once the message loop has started.
    void whenRunning(std::function<void()> action) { whenRunning_ = std::move(action); }

    const std::string& title() const { return title_; }
    bool busy() const { return busy_; }
    // The hidden top-level window every instance owns (class "ThunderRT6Main",
    // text: the application title).
    HWND applicationWindow() const { return appWindow_; }
    Win32FormPeer* peerOf(const ui::Form& form) const;
    Win32TrayIcon* trayIcon() const { return tray_.get(); }
    // Applies every noted model change to the windows now.
    void flushAll();
    // Dispatches one message, with the keyboard handling of a dialog for the
    // form windows (Tab, Enter, Escape, access keys).
    void dispatch(MSG& message);
    // Serves every message waiting now (tests, and doEvents).
    void serveWaiting(std::chrono::milliseconds budget = kServeBudget);

    static constexpr const wchar_t* kApplicationWindowClass = L"ThunderRT6Main";

private:
    friend class Win32FormPeer;
    void peerCreated(Win32FormPeer* peer);
    void peerDestroyed(Win32FormPeer* peer);
    HWND menuOwner();

    std::string title_;
    HWND appWindow_ = nullptr;
    std::vector<Win32FormPeer*> peers_;
    std::chrono::milliseconds serveInterval_;
    std::chrono::steady_clock::time_point lastServed_{};
    bool busy_ = false;
    std::unique_ptr<Win32TrayIcon> tray_;
    std::function<void()> whenRunning_;
};

// Registers the window classes and common controls the backend uses; once.
void registerUiClasses();

// Takes the Close command and the separator above it off a window's system
// menu, so neither its close box nor Alt+F4 closes it.
void RemoveCloseMenu(HWND window);

}  // namespace tarnwk::win32
