// The Win32 backend's program-wide pieces: the tray icon and its menu with
// the program's own tray window, message boxes, and the single-instance rule
// between two application windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>
#include <tuple>
#include <vector>

#include "app/Application.h"
#include "common/AppIdentity.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32UiSingleInstance.h"
#include "platform/win32/Win32UiTray.h"
#include "support/FakeProgram.h"
#include "support/ShowcaseForm.h"
#include "win32/Win32UiView.h"

namespace tarnwk::test {
namespace {

// Waits on a thread of its own for a window of `type` and `caption`, and
// hands it to `act`, as a user would meet it; joined when it goes.
std::jthread meet(const wchar_t* type, const wchar_t* caption, std::function<void(HWND)> act) {
    return std::jthread([=] {
        HWND found = nullptr;
        for (int i = 0; i < 500 && !(found = FindWindowW(type, caption)); ++i) Sleep(10);
        if (found) act(found);
    });
}

// Opens the tray menu with `mouse` and picks the item `pick` (-1: none) with
// the keyboard; the menu's items.
std::vector<std::wstring> trayMenu(win32::Win32Ui& backend, UINT mouse, int pick) {
    std::vector<std::wstring> items;
    {
        const auto watcher = meet(L"#32768", nullptr, [&](HWND popup) {
            auto* menu =
                reinterpret_cast<HMENU>(SendMessageW(popup, 0x01E1 /* MN_GETHMENU */, 0, 0));
            for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
                wchar_t text[64] = L"";
                GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
                items.emplace_back(text);
            }
            for (int i = 0; i <= pick; ++i) PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(popup, WM_KEYDOWN, pick < 0 ? VK_ESCAPE : VK_RETURN, 0);
        });
        PostMessageW(backend.trayIcon()->hwnd(), win32::Win32TrayIcon::kCallbackMessage, 1, mouse);
        serve(backend, 300);
    }
    return items;
}

TEST(Win32Tray, TheIconIsRegisteredAndItsMenuRunsTheTrayWindowsItems) {
    FakeProgram fakes;  // its services, under the Win32 backend
    win32::Win32Ui backend{std::string(kAppTitle)};
    platform::Platform os{fakes.files, fakes.settings,  fakes.startup, backend,
                          fakes.clock, fakes.processes, fakes.shell};
    ui::Ui toolkit{backend};
    Program program(os, toolkit, nativePath("/opt/tarnwick"), "http://server.test");
    Application application(program);
    application.tray.Load();
    win32::Win32TrayIcon* tray = backend.trayIcon();
    ASSERT_TRUE(tray && tray->registered() && application.tray.trayIconShown());
    EXPECT_EQ(tray->data().cbSize, sizeof(NOTIFYICONDATAW)) << "not the old 88-byte form";
    EXPECT_STREQ(tray->data().szTip, L"Tarnwick");
    NOTIFYICONDATAW again = tray->data();
    EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &again)) << "the shell knows the icon";

    // A right-button release opens the menu; About shows the main window on
    // its About tab.
    EXPECT_EQ(trayMenu(backend, WM_RBUTTONUP, 1),
              (std::vector<std::wstring>{L"Show Tarnwick", L"About", L"Exit"}));
    ASSERT_TRUE(serve(backend, 5000, [&] { return application.main.visible(); }));
    EXPECT_EQ(application.main.SSTab1.tab(), frmmain::kAboutTab);
    EXPECT_TRUE(IsWindowVisible(windowOf(backend, application.main)));

    // A left press opens it too; closed without a choice, nothing happens;
    // mouse moves are no command; a double click shows the main window.
    application.main.Hide();
    EXPECT_EQ(trayMenu(backend, WM_LBUTTONDOWN, -1).size(), 3u);
    PostMessageW(tray->hwnd(), win32::Win32TrayIcon::kCallbackMessage, 1, WM_MOUSEMOVE);
    serve(backend, 100);
    EXPECT_FALSE(application.main.visible());
    PostMessageW(tray->hwnd(), win32::Win32TrayIcon::kCallbackMessage, 1, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(serve(backend, 5000, [&] { return application.main.visible(); }));

    // Explorer restarted, or a shell that still holds the icon: registered.
    PostMessageW(tray->hwnd(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    serve(backend, 100);
    EXPECT_TRUE(tray->registered());
    tray->remove();
    EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &again)) << "gone once removed";
}

TEST(Win32Ui, MessageBoxesCarryTheTitleAndAnswerWithTheButtonPressed) {
    win32::Win32Ui backend("Tarnwick");
    using platform::MessageButtons, platform::MessageResult;
    const std::tuple<MessageButtons, int, MessageResult> cases[] = {
        {MessageButtons::OkCancel, IDCANCEL, MessageResult::Cancel},
        {MessageButtons::YesNo, IDYES, MessageResult::Yes},
        {MessageButtons::Ok, IDOK, MessageResult::Ok}};
    for (const auto& [buttons, pressed, answer] : cases) {
        const auto user = meet(L"#32770", L"Tarnwick",
                               [&](HWND box) { PostMessageW(box, WM_COMMAND, pressed, 0); });
        EXPECT_EQ(backend.messageBox("Do you wish to end the application?", buttons,
                                     platform::MessageIcon::Information),
                  answer);
    }
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
    EXPECT_TRUE(IsWindowVisible(windowOf(first, main)));
    ASSERT_TRUE(serve(first, 5000, [&] { return main.visible(); }))
        << "the running instance knows its window is shown";
    EXPECT_EQ(main.activations, 1);
}

}  // namespace
}  // namespace tarnwk::test
