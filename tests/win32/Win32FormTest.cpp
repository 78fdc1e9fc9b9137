// Windows built from form declarations by the Win32 backend: classes,
// geometry at the system's DPI (96, and 144 in a run of its own), captions, fonts, the window's
// life, and events both ways between native controls and the form's controls.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>
#include <tuple>

#include "platform/win32/Win32UiScale.h"
#include "support/ShowcaseForm.h"
#include "win32/Win32UiView.h"

namespace tarnwk::test {
namespace {

bool sameRect(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

std::string show(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

LOGFONTW fontOf(HWND window) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font),
               &font);
    return font;
}

class Win32Form : public ::testing::Test {
protected:
    HWND of(const ui::Control& control) { return Win32View(backend, form).of(control); }
    HWND window() { return Win32View(backend, form).window(); }
    void serve(int ms = 60) { serveFor(backend, ms); }

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
    EXPECT_TRUE(sameRect(client, designPixels(0, 0, 7000, 5505))) << show(client);
    EXPECT_EQ(GetWindow(window(), GW_OWNER), backend.applicationWindow());

    // Inside a frame, a picture box or on a tab page, a position counts from
    // the container.
    const std::tuple<const ui::Control*, const wchar_t*, RECT, const wchar_t*> expected[] = {
        {&form.lblPath, L"Static", designPixels(120, 120, 3000, 255), L"/home/user/A & B"},
        {&form.cmdOk, L"Button", designPixels(4920, 120, 1215, 375), L"&OK"},
        {&form.chkRemember, L"Button", designPixels(4920, 600, 1815, 255), L"&Remember"},
        {&form.fraMode, L"Button", designPixels(120, 480, 3000, 1335), L"Choose Mode"},
        {&form.optFull, L"Button", designPixels(120 + 240, 480 + 360, 2000, 255), L"Full"},
        {&form.optQuick, L"Button", designPixels(120 + 240, 480 + 840, 2000, 255), L"Quick"},
        {&form.lstFound, L"ListBox", designPixels(3240, 1200, 3495, 930), L""},
        {&form.lstSingle, L"ListBox", designPixels(120, 1920, 3000, 570), L""},
        {&form.tabMain, WC_TABCONTROLW, designPixels(120, 2640, 6615, 2175), L""},
        {&form.lblOnScan, L"Static", designPixels(120 + 360, 2640 + 720, 2415, 255),
         L"On the scan page"},
        {&form.cmdScan, L"Button", designPixels(120 + 3000, 2640 + 1320, 1215, 375), L"&Scan Now"},
        {&form.picBanner, L"TarnwickPicture", designPixels(3240, 2160, 3495, 435), L""},
        {&form.lblOnPicture, L"Static", designPixels(3240 + 60, 2160 + 60, 1200, 255),
         L"Version 1.1"},
        {&form.sbrStatus, STATUSCLASSNAMEW, designPixels(0, 5250, 7000, 255), L""},
    };
    for (const auto& [control, type, rect, caption] : expected) {
        HWND child = of(*control);
        ASSERT_NE(child, nullptr) << control->name();
        EXPECT_EQ(GetParent(child), window()) << control->name();
        EXPECT_EQ(className(child), type) << control->name();
        const RECT placed = placeInParent(child);
        EXPECT_TRUE(sameRect(placed, rect)) << control->name() << " at " << show(placed);
        EXPECT_EQ(textOf(child), caption) << control->name();
    }
    const LONG_PTR style[] = {GetWindowLongPtrW(of(form.chkRemember), GWL_STYLE),
                              GetWindowLongPtrW(of(form.optFull), GWL_STYLE),
                              GetWindowLongPtrW(of(form.fraMode), GWL_STYLE),
                              GetWindowLongPtrW(of(form.lstFound), GWL_STYLE),
                              GetWindowLongPtrW(of(form.lstSingle), GWL_STYLE),
                              GetWindowLongPtrW(of(form.lblPath), GWL_STYLE)};
    EXPECT_EQ(style[0] & 0xF, BS_CHECKBOX);
    EXPECT_EQ(style[1] & 0xF, BS_RADIOBUTTON);
    EXPECT_EQ(style[2] & 0xF, BS_GROUPBOX);
    EXPECT_TRUE(style[3] & LBS_MULTIPLESEL);
    EXPECT_FALSE(style[4] & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
    EXPECT_TRUE(style[5] & SS_NOPREFIX) << "an & in a path is shown as written";
    EXPECT_EQ(SendMessageW(of(form.tabMain), TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(of(form.optFull), BM_GETCHECK, 0, 0), BST_CHECKED);

    EXPECT_EQ(std::wstring(fontOf(of(form.lblPath)).lfFaceName), win32::messageFontFace(96));
    // 8.25 points: 11 pixels high at 96 dpi, 17 at 144.
    EXPECT_EQ(fontOf(of(form.lblPath)).lfHeight, testDpi() == 144 ? -17 : -11);
    EXPECT_EQ(fontOf(of(form.fraMode)).lfWeight, FW_BOLD);
    EXPECT_EQ(fontOf(of(form.optFull)).lfWeight, FW_NORMAL) << "not its contents";
    EXPECT_TRUE(fontOf(of(form.lblLink)).lfUnderline);
    EXPECT_FALSE(fontOf(of(form.lblPath)).lfUnderline);

    for (const auto& [style, check] :
         {std::tuple{ui::FormStyle{},
                     +[](HWND w) {
                         return GetWindowLongPtrW(w, GWL_STYLE) & WS_SYSMENU &&
                                !(GetWindowLongPtrW(w, GWL_STYLE) & WS_MINIMIZEBOX);
                     }},
          {ui::FormStyle{.minimizeButton = true},
           +[](HWND w) { return (GetWindowLongPtrW(w, GWL_STYLE) & WS_MINIMIZEBOX) != 0; }},
          {ui::FormStyle{.closeCommand = false},
           +[](HWND w) {
               return GetMenuState(GetSystemMenu(w, FALSE), SC_CLOSE, MF_BYCOMMAND) == UINT(-1);
           }},
          {ui::FormStyle{.titleBar = false}, +[](HWND w) {
               return (GetWindowLongPtrW(w, GWL_STYLE) & WS_CAPTION) != WS_CAPTION &&
                      (GetWindowLongPtrW(w, GWL_STYLE) & WS_POPUP);
           }}}) {
        ShowcaseForm styled(ui, style, "frmstyle");
        styled.Load();
        HWND styledWindow = Win32View(backend, styled).window();
        EXPECT_TRUE(check(styledWindow))
            << style.minimizeButton << style.closeCommand << style.titleBar << " system menu of "
            << GetMenuItemCount(GetSystemMenu(styledWindow, FALSE));
    }
}

TEST_F(Win32Form, TabPagesShowOnlyTheirOwnControls) {
    form.Show();
    serve();
    EXPECT_FALSE(IsWindowVisible(of(form.lblOnScan)));
    EXPECT_TRUE(IsWindowVisible(of(form.lblPath)));
    form.tabMain.setTab(1);  // from the program: no handler
    serve();
    EXPECT_EQ(SendMessageW(of(form.tabMain), TCM_GETCURSEL, 0, 0), 1);
    EXPECT_TRUE(IsWindowVisible(of(form.lblOnScan)));
    EXPECT_TRUE(IsWindowVisible(of(form.cmdScan)));
    EXPECT_EQ(form.tabSelections, 0);

    // The user clicks the third tab.
    RECT tab{};
    SendMessageW(of(form.tabMain), TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&tab));
    clickAt(of(form.tabMain), {(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
    ASSERT_TRUE(serveUntil(backend, [this] { return form.tabSelections == 1; }));
    EXPECT_EQ(form.tabMain.tab(), 2);
    EXPECT_FALSE(IsWindowVisible(of(form.lblOnScan)));

    // Ctrl+Tab goes on to the next tab, round to the first.
    SetForegroundWindow(window());
    SetFocus(of(form.cmdOk));
    pressKeys({VK_CONTROL}, VK_TAB);
    ASSERT_TRUE(serveUntil(
        backend, [this] { return form.tabSelections == 2; }, 3000));
    EXPECT_EQ(form.tabMain.tab(), 0);
    EXPECT_EQ(SendMessageW(of(form.tabMain), TCM_GETCURSEL, 0, 0), 0);

    form.picBanner.setVisible(false);  // a hidden container hides what it holds
    serve();
    EXPECT_FALSE(IsWindowVisible(of(form.lblOnPicture)));
}

TEST_F(Win32Form, WhatTheUserDoesReachesTheControls) {
    form.Show();
    serve(100);
    PostMessageW(of(form.cmdOk), BM_CLICK, 0, 0);
    ASSERT_TRUE(serveUntil(backend, [this] { return form.okClicks == 1; }));

    // The keyboard, through the system's input queue: the access key, Tab
    // to the next control, Enter on a focused button, Escape to close.
    SetForegroundWindow(window());
    serve(100);
    pressKeys({VK_MENU}, 'O');
    EXPECT_TRUE(serveUntil(
        backend, [this] { return form.okClicks == 2; }, 3000))
        << "Alt+O presses &OK";
    SetFocus(of(form.cmdOk));
    pressKeys({}, VK_TAB);
    EXPECT_TRUE(serveUntil(
        backend, [this] { return GetFocus() == of(form.chkRemember); }, 3000))
        << "Tab moves on from the button";
    SetFocus(of(form.cmdOk));
    pressKeys({}, VK_RETURN);
    EXPECT_TRUE(serveUntil(
        backend, [this] { return form.okClicks == 3; }, 3000))
        << "Enter presses the focused button";

    PostMessageW(of(form.chkRemember), BM_CLICK, 0, 0);
    ASSERT_TRUE(serveUntil(backend, [this] { return form.rememberClicks == 1; }));
    EXPECT_EQ(form.chkRemember.value(), 1);
    EXPECT_EQ(SendMessageW(of(form.chkRemember), BM_GETCHECK, 0, 0), BST_CHECKED);
    form.chkRemember.setEnabled(false);  // the control decides, not a stale window
    serve();
    EXPECT_FALSE(IsWindowEnabled(of(form.chkRemember)));

    PostMessageW(of(form.optQuick), BM_CLICK, 0, 0);
    PostMessageW(of(form.optQuick), BM_CLICK, 0, 0);  // a second click leaves it set
    serve(100);
    EXPECT_TRUE(form.optQuick.value());
    EXPECT_FALSE(form.optFull.value());
    EXPECT_EQ(SendMessageW(of(form.optFull), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(of(form.optQuick), BM_GETCHECK, 0, 0), BST_CHECKED);

    clickAt(of(form.lblLink), {4, 4});
    ASSERT_TRUE(serveUntil(backend, [this] { return form.linkClicks == 1; }));

    // Selection modes: a simple list toggles each row clicked, a single one
    // keeps the last.
    form.lstFound.setItems({"/a > one", "/b > two", "/c > three"});
    form.lstSingle.setItems({"a", "b", "c"});
    serve();
    auto clickRow = [](HWND list, int row) {
        RECT item{};
        SendMessageW(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item));
        clickAt(list, {item.left + 4, (item.top + item.bottom) / 2});
    };
    for (const int row : {1, 2, 1}) clickRow(of(form.lstFound), row);
    serve(150);
    EXPECT_EQ(form.lstFound.selectedCount(), 1u);
    EXPECT_TRUE(form.lstFound.selected(2));
    for (const int row : {0, 2}) clickRow(of(form.lstSingle), row);
    serve(150);
    EXPECT_EQ(form.lstSingle.selectedCount(), 1u);
    EXPECT_TRUE(form.lstSingle.selected(2));

    // Escape closes a window that can be closed.
    form.cancelUnload = true;
    SetForegroundWindow(window());
    SetFocus(of(form.cmdOk));
    pressKeys({}, VK_ESCAPE);
    EXPECT_TRUE(serveUntil(
        backend, [this] { return form.queryUnloads == 1; }, 3000));
    EXPECT_FALSE(IsWindowVisible(window()));
}

TEST_F(Win32Form, WhatTheProgramDoesReachesTheWindowsWhenEventsAreServed) {
    ShowcaseForm early(ui, {}, "frmearly");  // state set before loading shows at once
    early.cmdOk.setEnabled(false);
    early.chkRemember.setValue(1);
    early.Load();
    EXPECT_FALSE(IsWindowEnabled(Win32View(backend, early).of(early.cmdOk)));
    EXPECT_EQ(SendMessageW(Win32View(backend, early).of(early.chkRemember), BM_GETCHECK, 0, 0),
              BST_CHECKED);

    form.Show();
    form.lblPath.setCaption("C:\\Windows\\Temp");
    form.lblNotes.setVisible(false);
    form.lstFound.addItem("first");
    form.lstFound.addItem("second & more");
    form.lstFound.setSelected(1, true);
    EXPECT_EQ(textOf(of(form.lblPath)), L"/home/user/A & B") << "not before events are served";
    serve();
    EXPECT_EQ(textOf(of(form.lblPath)), L"C:\\Windows\\Temp");
    EXPECT_FALSE(IsWindowVisible(of(form.lblNotes)));
    form.lstFound.removeItem(0);
    serve();
    HWND list = of(form.lstFound);
    ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
    wchar_t row[64] = L"";
    SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(row));
    EXPECT_STREQ(row, L"second & more");
    EXPECT_GT(SendMessageW(list, LB_GETSEL, 0, 0), 0);

    form.lstSingle.setVisible(false);  // a hidden list takes its rows when shown
    std::vector<std::string> many;
    for (int i = 0; i < 1000; ++i) many.push_back("entry " + std::to_string(i));
    form.lstSingle.setItems(many);
    serve();
    EXPECT_EQ(SendMessageW(of(form.lstSingle), LB_GETCOUNT, 0, 0), 0);
    form.lstSingle.setVisible(true);
    serve();
    EXPECT_EQ(SendMessageW(of(form.lstSingle), LB_GETCOUNT, 0, 0), 1000);

    // A walk writes a label per file with doEvents between: the newest text wins.
    for (int i = 1; i <= 100000; ++i) {
        form.lblPath.setCaption("C:\\folder " + std::to_string(i));
        backend.doEvents();
    }
    serve();
    EXPECT_EQ(textOf(of(form.lblPath)), L"C:\\folder 100000");
}

TEST_F(Win32Form, TheWindowsLifeAndItsTimer) {
    form.Show();
    serve(100);
    EXPECT_TRUE(IsWindowVisible(window()));
    EXPECT_EQ(ui.activeForm(), &form);
    form.cancelUnload = true;  // cancels and hides, as a main window does
    SendMessageW(window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(form.queryUnloads, 1);
    EXPECT_FALSE(IsWindowVisible(window()));

    ShowcaseForm closeless(ui, {.closeCommand = false}, "frmcloseless");
    closeless.Show();
    HWND fixed = Win32View(backend, closeless).window();
    SendMessageW(fixed, WM_SYSCOMMAND, SC_CLOSE, 0);  // Alt+F4, the close box
    SendMessageW(fixed, WM_CLOSE, 0, 0);
    serve();
    EXPECT_EQ(closeless.queryUnloads, 0);
    EXPECT_TRUE(IsWindowVisible(fixed));

    form.tmrTick.setEnabled(true);
    ASSERT_TRUE(serveUntil(backend, [this] { return form.ticks >= 2; }));
    form.tmrTick.setEnabled(false);
    const int ticks = form.ticks;
    serve(150);
    EXPECT_EQ(form.ticks, ticks);
    form.tmrTick.onTimer = [this] { form.Unload(); };  // safe from a handler
    form.cancelUnload = false;
    form.tmrTick.setEnabled(true);
    HWND gone = window();
    ASSERT_TRUE(serveUntil(backend, [this] { return !form.loaded(); }));
    EXPECT_FALSE(IsWindow(gone));
    form.Show();
    EXPECT_EQ(form.loads, 2) << "loaded again, the form gets a fresh window";
}

}  // namespace
}  // namespace tarnwk::test
