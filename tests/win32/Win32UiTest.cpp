// The Win32 backend against the system: windows built from form
// declarations (classes, geometry at the system's DPI, 96 and in a run of its
// own 144, captions, styles, fonts), events both ways between native controls
// and the form's controls, the window's life; the tray icon and its menu,
// message boxes, and the single-instance rule between application windows.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "app/Application.h"
#include "common/AppIdentity.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Ui.h"
#include "platform/win32/Win32UiFormPeer.h"
#include "platform/win32/Win32UiScale.h"
#include "platform/win32/Win32UiSingleInstance.h"
#include "platform/win32/Win32UiTray.h"
#include "support/FakeProgram.h"
#include "support/ShowcaseForm.h"

namespace tarnwk::test {
namespace {

// Serves the queue for `ms` milliseconds, or until `done` holds.
bool serve(win32::Win32Ui& backend, int ms, const std::function<bool()>& done = {}) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
        backend.flushAll();
        backend.serveWaiting(std::chrono::milliseconds(50));
        if (done && done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    } while (std::chrono::steady_clock::now() < until);
    return done && done();
}

// A window's text, or with GetClassNameW its class.
std::wstring textOf(HWND window, int(WINAPI* get)(HWND, LPWSTR, int) = GetWindowTextW) {
    wchar_t text[512] = L"";
    get(window, text, 512);
    return text;
}

std::string show(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

// The DPI the system is set to for the test: TARNWK_TEST_DPI, 96 unless set.
unsigned testDpi() {
    const char* set = std::getenv("TARNWK_TEST_DPI");
    return set && *set ? static_cast<unsigned>(std::atoi(set)) : 96u;
}

// A design rectangle in pixels at the test's DPI.
std::string designPixels(int left, int top, int width, int height) {
    return show(win32::pixelRect({left, top, width, height}, testDpi()));
}

// A window's rectangle in its parent's client coordinates.
std::string placeInParent(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return show(rect);
}

LOGFONTW fontOf(HWND window) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

// A left click through the message queue at a point of the window's client area.
void clickAt(HWND window, POINT at) {
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

class Win32Form : public ::testing::Test {
protected:
    HWND of(const ui::Control& control) { return backend.peerOf(form)->windowOf(control); }
    HWND window() { return backend.peerOf(form)->hwnd(); }
    void serve(int ms = 60) { test::serve(backend, ms); }
    bool until(const std::function<bool()>& done) { return test::serve(backend, 3000, done); }
    // Presses `key`, with `held` down, through the system's input queue, on &OK.
    void press(WORD key, WORD held = 0) {
        SetForegroundWindow(window());
        SetFocus(of(form.cmdOk));
        if (held) keybd_event(static_cast<BYTE>(held), 0, 0, 0);
        keybd_event(static_cast<BYTE>(key), 0, 0, 0);
        keybd_event(static_cast<BYTE>(key), 0, KEYEVENTF_KEYUP, 0);
        if (held) keybd_event(static_cast<BYTE>(held), 0, KEYEVENTF_KEYUP, 0);
    }
    LRESULT send(const ui::Control& control, UINT message, WPARAM w = 0, LPARAM l = 0) {
        return SendMessageW(of(control), message, w, l);
    }

    win32::Win32Ui backend{"Tarnwick"};
    ui::Ui ui{backend};
    ShowcaseForm form{ui};
};

TEST_F(Win32Form, ControlsFollowTheDeclarations) {
    form.Load();
    ASSERT_EQ(win32::windowDpi(window()), testDpi()) << "the system's DPI is the test's";
    EXPECT_FALSE(IsWindowVisible(window()));
    EXPECT_EQ(textOf(window()), L"Test Window");
    RECT client{};
    GetClientRect(window(), &client);
    EXPECT_EQ(show(client), designPixels(0, 0, 7000, 5505));
    EXPECT_EQ(GetWindow(window(), GW_OWNER), backend.applicationWindow());

    // Inside a frame, a picture box or on a tab page, a position counts from
    // the container, at (dx, dy).
    const struct {
        const ui::Control& control;
        const wchar_t *type, *caption;
        int dx = 0, dy = 0;
        LONG_PTR styleMask = 0, style = 0;
    } expected[] = {
        // An & in a path is shown as written.
        {form.lblPath, L"Static", L"/home/user/A & B", 0, 0, SS_NOPREFIX, SS_NOPREFIX},
        {form.cmdOk, L"Button", L"&OK"},
        {form.chkRemember, L"Button", L"&Remember", 0, 0, 0xF, BS_CHECKBOX},
        {form.fraMode, L"Button", L"Choose Mode", 0, 0, 0xF, BS_GROUPBOX},
        {form.optFull, L"Button", L"Full", 120, 480, 0xF, BS_RADIOBUTTON},
        {form.lstFound, L"ListBox", L"", 0, 0, LBS_MULTIPLESEL, LBS_MULTIPLESEL},
        {form.tabMain, WC_TABCONTROLW, L""},
        {form.lblOnScan, L"Static", L"On the scan page", 120, 2640},
        {form.picBanner, L"TarnwickPicture", L""},
        {form.lblOnPicture, L"Static", L"Version 1.1", 3240, 2160},
        {form.sbrStatus, STATUSCLASSNAMEW, L""},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.control.name());
        HWND child = of(e.control);
        EXPECT_EQ(textOf(child, GetClassNameW), e.type);
        const ui::Twips at = e.control.position();
        EXPECT_EQ(placeInParent(child),
                  designPixels(e.dx + at.left, e.dy + at.top, at.width, at.height));
        EXPECT_EQ(textOf(child), e.caption);
        EXPECT_EQ(GetWindowLongPtrW(child, GWL_STYLE) & e.styleMask, e.style);
    }
    EXPECT_EQ(send(form.tabMain, TCM_GETITEMCOUNT), 3);

    // 8.25 points; a link underlined; a bold frame, not its contents.
    const LOGFONTW label = fontOf(of(form.lblPath));
    EXPECT_EQ(std::tuple(std::wstring(label.lfFaceName), label.lfHeight, label.lfUnderline,
                         fontOf(of(form.lblLink)).lfUnderline, fontOf(of(form.fraMode)).lfWeight,
                         fontOf(of(form.optFull)).lfWeight),
              std::tuple(win32::messageFontFace(96), testDpi() == 144 ? -17 : -11, BYTE(0), BYTE(1),
                         FW_BOLD, FW_NORMAL));

    const struct {
        ui::FormStyle style;
        LONG_PTR mask, bits;
    } styles[] = {{{}, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_CAPTION | WS_SYSMENU},
                  {{.minimizeButton = true}, WS_MINIMIZEBOX, WS_MINIMIZEBOX},
                  {{.titleBar = false}, WS_DLGFRAME | WS_POPUP, WS_POPUP},
                  {{.closeCommand = false}, 0, 0}};
    for (const auto& [style, mask, bits] : styles) {
        ShowcaseForm styled(ui, style, "frmstyle");
        styled.cmdOk.setEnabled(false);  // state set before loading shows at once
        styled.chkRemember.setValue(1);
        styled.Show();
        const auto* peer = backend.peerOf(styled);  // gone once the form is unloaded
        HWND window = peer->hwnd();
        EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & mask, bits);
        EXPECT_EQ(std::tuple(IsWindowEnabled(peer->windowOf(styled.cmdOk)),
                             SendMessageW(peer->windowOf(styled.chkRemember), BM_GETCHECK, 0, 0)),
                  std::tuple(FALSE, BST_CHECKED));
        // Without a close command neither the close box nor Alt+F4 closes it.
        const UINT close = GetMenuState(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND);
        EXPECT_TRUE(style.closeCommand || close == UINT(-1));
        SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        SendMessageW(window, WM_CLOSE, 0, 0);
        serve();
        EXPECT_EQ(styled.queryUnloads, style.closeCommand ? 1 : 0);
    }
}

TEST_F(Win32Form, WhatTheUserDoesReachesTheControls) {
    form.Show();
    serve(100);
    // Clicks: a button, a check box, an option twice (it stays set), a link.
    for (HWND control :
         {of(form.cmdOk), of(form.chkRemember), of(form.optQuick), of(form.optQuick)})
        PostMessageW(control, BM_CLICK, 0, 0);
    clickAt(of(form.lblLink), {4, 4});
    ASSERT_TRUE(until([this] { return form.linkClicks == 1; }));
    EXPECT_EQ(std::tuple(form.okClicks, form.rememberClicks, form.chkRemember.value(),
                         form.optQuick.value(), form.optFull.value(),
                         send(form.chkRemember, BM_GETCHECK), send(form.optFull, BM_GETCHECK)),
              std::tuple(1, 1, 1, true, false, BST_CHECKED, BST_UNCHECKED));

    // The keyboard: the access key, Tab to the next control, Enter on a
    // focused button.
    press('O', VK_MENU);
    EXPECT_TRUE(until([this] { return form.okClicks == 2; })) << "Alt+O presses &OK";
    press(VK_TAB);
    EXPECT_TRUE(until([this] { return GetFocus() == of(form.chkRemember); })) << "Tab";
    press(VK_RETURN);
    EXPECT_TRUE(until([this] { return form.okClicks == 3; })) << "Enter";

    // Tabs: a click on the third, Ctrl+Tab on round to the first; a page
    // shows only its own controls.
    RECT tab{};
    send(form.tabMain, TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&tab));
    clickAt(of(form.tabMain), {(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
    ASSERT_TRUE(until([this] { return form.tabSelections == 1 && form.tabMain.tab() == 2; }));
    press(VK_TAB, VK_CONTROL);
    ASSERT_TRUE(until([this] { return form.tabSelections == 2 && form.tabMain.tab() == 0; }));

    // A simple list toggles each row clicked, a single one keeps the last.
    form.lstFound.setItems({"/a > one", "/b > two", "/c > three"});
    form.lstSingle.setItems({"a", "b", "c"});
    serve();
    for (const auto& [list, rows] : {std::pair{&form.lstFound, std::vector{1, 2, 1}},
                                     std::pair{&form.lstSingle, std::vector{0, 2}}}) {
        const int height = static_cast<int>(send(*list, LB_GETITEMHEIGHT));
        for (const int row : rows) clickAt(of(*list), {4, height * row + height / 2});
    }
    serve(150);
    for (const ui::ListBox* list : {&form.lstFound, &form.lstSingle})
        EXPECT_TRUE(list->selectedCount() == 1 && list->selected(2)) << list->name();

    // Escape closes a window that can be closed; this one cancels and hides.
    form.cancelUnload = true;
    press(VK_ESCAPE);
    EXPECT_TRUE(until([this] { return form.queryUnloads == 1 && !IsWindowVisible(window()); }));
}

TEST_F(Win32Form, WhatTheProgramDoesReachesTheWindowThenItsTimerAndUnload) {
    form.Show();
    form.lblNotes.setVisible(false);
    form.chkRemember.setEnabled(false);
    form.lstFound.setItems({"first", "second & more"});
    form.lstFound.setSelected(1, true);
    form.tabMain.setTab(1);  // no handler runs
    serve();
    EXPECT_EQ(std::tuple(IsWindowVisible(of(form.lblNotes)), IsWindowEnabled(of(form.chkRemember)),
                         send(form.tabMain, TCM_GETCURSEL), IsWindowVisible(of(form.lblOnScan)),
                         form.tabSelections),
              std::tuple(FALSE, FALSE, 1, TRUE, 0));
    form.lstFound.removeItem(0);
    form.tabMain.setTab(2);
    form.picBanner.setVisible(false);  // a hidden container hides what it holds
    serve();
    EXPECT_FALSE(IsWindowVisible(of(form.lblOnScan)) || IsWindowVisible(of(form.lblOnPicture)));
    EXPECT_EQ(std::tuple(send(form.lstFound, LB_GETCOUNT), send(form.lstFound, LB_GETSEL) > 0,
                         send(form.lstFound, LB_GETTEXTLEN)),
              std::tuple(1, true, 13))
        << "the second row is left, selected";

    // A walk writes a label per file with doEvents between: the newest text
    // wins, and the queue never overflows.
    for (int i = 1; i <= 100000; ++i) {
        form.lblPath.setCaption("C:\\folder " + std::to_string(i));
        backend.doEvents();
    }
    serve();
    EXPECT_EQ(textOf(of(form.lblPath)), L"C:\\folder 100000");

    // The timer, and the window's life.
    form.tmrTick.setEnabled(true);
    ASSERT_TRUE(until([this] { return form.ticks >= 2; }));
    EXPECT_EQ(ui.activeForm(), &form);
    form.tmrTick.setEnabled(false);
    serve(150);
    Sleep(100);
    MSG pending{};
    EXPECT_FALSE(PeekMessageW(&pending, window(), WM_TIMER, WM_TIMER, PM_NOREMOVE)) << "stopped";
    form.tmrTick.onTimer = [this] { form.Unload(); };  // safe from a handler
    form.tmrTick.setEnabled(true);
    HWND gone = window();
    ASSERT_TRUE(until([&] { return !form.loaded() && !IsWindow(gone); }));
    form.Show();
    EXPECT_EQ(form.loads, 2) << "loaded again, the form gets a fresh window";
}

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
        const auto user = meet(L"#32768", nullptr, [&](HWND popup) {
            auto* menu =
                reinterpret_cast<HMENU>(SendMessageW(popup, 0x01E1 /* MN_GETHMENU */, 0, 0));
            for (UINT i = 0; menu && int(i) < GetMenuItemCount(menu); ++i) {
                wchar_t text[64] = L"";
                GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
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

    // A left press opens it too; closed without a choice, nothing happens; a
    // double click shows the main window.
    application.main.Hide();
    EXPECT_EQ(trayMenu(backend, WM_LBUTTONDOWN, -1).size(), 3u);
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
    ASSERT_TRUE(serve(first, 5000, [&] { return main.visible(); }))
        << "the running instance knows its window is shown";
    EXPECT_EQ(main.activations, 1);
}

}  // namespace
}  // namespace tarnwk::test
