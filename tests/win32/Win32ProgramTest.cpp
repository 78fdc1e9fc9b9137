// The Win32 backend's program-wide pieces: the tray icon and its menu with
// the program's own tray window, message boxes, the busy pointer, and the
// single-instance rule between two application windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

#include "app/Application.h"
#include "common/AppIdentity.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32UiSingleInstance.h"
#include "platform/win32/Win32UiTray.h"
#include "support/FakePlatform.h"
#include "support/ShowcaseForm.h"
#include "win32/Win32UiView.h"

namespace tarnwk::test {
namespace {

// Watches for the next popup menu from another thread: reads its items, then
// picks one with the keyboard as a user would (or closes it with -1).
class MenuWatcher {
public:
    explicit MenuWatcher(int pick) : thread_([this, pick] { watch(pick); }) {}
    ~MenuWatcher() { thread_.join(); }
    std::vector<std::wstring> items() {
        thread_.join();
        thread_ = std::thread([] {});
        return items_;
    }

private:
    void watch(int pick) {
        HWND popup = nullptr;
        for (int i = 0; i < 500 && !(popup = FindWindowW(L"#32768", nullptr)); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!popup) return;
        auto* menu = reinterpret_cast<HMENU>(SendMessageW(popup, 0x01E1 /* MN_GETHMENU */, 0, 0));
        for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
            wchar_t text[64] = L"";
            GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
            items_.emplace_back(text);
        }
        for (int i = 0; i <= pick; ++i) PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(popup, WM_KEYDOWN, pick < 0 ? VK_ESCAPE : VK_RETURN, 0);
    }

    std::vector<std::wstring> items_;
    std::thread thread_;
};

struct Win32Program {
    Win32Program() : program(os, toolkit, nativePath("/opt/tarnwick"), "http://server.test") {}

    FakeFileSystem files;
    FakeSettingsStore settings;
    FakeLoginStartup startup;
    FakeClock clock;
    FakeProcesses processes;
    FakeShell shell;
    win32::Win32Ui backend{std::string(kAppTitle)};
    platform::Platform os{files, settings, startup, backend, clock, processes, shell};
    ui::Ui toolkit{backend};
    Program program;
};

TEST(Win32Tray, TheIconIsRegisteredAndItsMenuRunsTheTrayWindowsItems) {
    Win32Program running;
    Application application(running.program);
    application.tray.Load();
    win32::Win32TrayIcon* tray = running.backend.trayIcon();
    ASSERT_NE(tray, nullptr);
    ASSERT_TRUE(tray->registered());
    ASSERT_TRUE(application.tray.trayIconShown());
    EXPECT_EQ(tray->data().cbSize, sizeof(NOTIFYICONDATAW));
    EXPECT_NE(tray->data().cbSize, 88u);
    EXPECT_STREQ(tray->data().szTip, L"Tarnwick");
    NOTIFYICONDATAW again = tray->data();
    EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &again)) << "the shell knows the icon";

    // A right-button release over the icon opens the menu; About shows the
    // main window on its About tab.
    MenuWatcher about(1);
    PostMessageW(tray->hwnd(), win32::Win32TrayIcon::kCallbackMessage, 1, WM_RBUTTONUP);
    serveFor(running.backend, 300);
    EXPECT_EQ(about.items(), (std::vector<std::wstring>{L"Show Tarnwick", L"About", L"Exit"}));
    ASSERT_TRUE(serveUntil(running.backend, [&] { return application.main.visible(); }));
    EXPECT_EQ(application.main.SSTab1.tab(), frmmain::kAboutTab);
    EXPECT_TRUE(IsWindowVisible(Win32View(running.backend, application.main).window()));

    // A left press opens it too; closed without a choice, nothing happens.
    application.main.Hide();
    {
        MenuWatcher none(-1);
        PostMessageW(tray->hwnd(), win32::Win32TrayIcon::kCallbackMessage, 1, WM_LBUTTONDOWN);
        serveFor(running.backend, 300);
        EXPECT_EQ(none.items().size(), 3u);
    }
    EXPECT_FALSE(application.main.visible());
    // Mouse moves are no command; a double click shows the main window.
    PostMessageW(tray->hwnd(), win32::Win32TrayIcon::kCallbackMessage, 1, WM_MOUSEMOVE);
    serveFor(running.backend, 100);
    EXPECT_FALSE(application.main.visible());
    PostMessageW(tray->hwnd(), win32::Win32TrayIcon::kCallbackMessage, 1, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(serveUntil(running.backend, [&] { return application.main.visible(); }));

    // Explorer restarted: the icon is registered again.
    PostMessageW(tray->hwnd(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    serveFor(running.backend, 100);
    EXPECT_TRUE(tray->registered());
    tray->remove();
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &again)) << "gone once removed";
}

TEST(Win32Ui, MessageBoxesCarryTheTitleAndAnswerWithTheButtonPressed) {
    win32::Win32Ui backend("Tarnwick");
    struct Case {
        platform::MessageButtons buttons;
        int press;
        platform::MessageResult expected;
    };
    for (const Case& c :
         {Case{platform::MessageButtons::OkCancel, IDCANCEL, platform::MessageResult::Cancel},
          Case{platform::MessageButtons::YesNo, IDYES, platform::MessageResult::Yes},
          Case{platform::MessageButtons::Ok, IDOK, platform::MessageResult::Ok}}) {
        std::atomic<bool> seen{false};
        std::thread answer([&seen, &c] {
            HWND box = nullptr;
            for (int i = 0; i < 500 && !(box = FindWindowW(L"#32770", L"Tarnwick")); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (!box) return;
            wchar_t text[128] = L"";
            GetDlgItemTextW(box, 0xFFFF, text, 128);
            seen = std::wstring(text) == L"Do you wish to end the application?";
            PostMessageW(box, WM_COMMAND, c.press, 0);
        });
        const auto result = backend.messageBox("Do you wish to end the application?", c.buttons,
                                               platform::MessageIcon::Information);
        answer.join();
        EXPECT_TRUE(seen);
        EXPECT_EQ(result, c.expected);
    }
    backend.setBusy(true);
    EXPECT_TRUE(backend.busy());
    backend.setBusy(false);
    EXPECT_FALSE(backend.busy());
}

TEST(Win32SingleInstance, ALaterStartFindsTheRunningOneAndShowsItsMainWindow) {
    const std::string title = "Tarnwick test " + std::to_string(GetCurrentProcessId());
    win32::Win32Ui first(title);
    ui::Ui ui{first};
    ShowcaseForm main(ui, {}, "frmmain");
    main.setCaption(title + " 1.1");
    main.Load();  // loaded, hidden: only the tray icon shows
    win32::Win32SingleInstance running(first.applicationWindow(), title, title + " 1.1");
    ASSERT_TRUE(running.claim());

    win32::Win32Ui second(title);
    win32::Win32SingleInstance later(second.applicationWindow(), title, title + " 1.1");
    EXPECT_FALSE(later.claim()) << "the mutex is taken";
    ASSERT_TRUE(later.activateRunning());
    EXPECT_EQ(textOf(second.applicationWindow()), L"unwanted instance");
    EXPECT_EQ(textOf(first.applicationWindow()), win32::toWide(title));
    EXPECT_TRUE(IsWindowVisible(Win32View(first, main).window()));
    ASSERT_TRUE(serveUntil(first, [&] { return main.visible(); }))
        << "the running instance knows its window is shown";
    EXPECT_EQ(main.activations, 1);
}

}  // namespace
}  // namespace tarnwk::test
