// Windows built from form declarations by the Win32 backend: classes,
// geometry at the system's DPI (96, and 144 in a run of its own), captions,
// styles and fonts; events both ways between native controls and the form's
// controls; the window's life.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "platform/win32/Win32UiScale.h"
#include "support/ShowcaseForm.h"
#include "win32/Win32UiView.h"

namespace tarnwk::test {
namespace {

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

std::wstring className(HWND window) {
    wchar_t name[128] = L"";
    GetClassNameW(window, name, 128);
    return name;
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
    HWND window() { return windowOf(backend, form); }
    void serve(int ms = 60) { test::serve(backend, ms); }
    bool until(const std::function<bool()>& done) { return test::serve(backend, 3000, done); }
    // Presses `key` with `held` through the system's input queue, with `focus` focused.
    void press(HWND focus, std::initializer_list<WORD> held, WORD key) {
        SetForegroundWindow(window());
        SetFocus(focus);
        std::vector<WORD> keys(held);
        keys.push_back(key);
        std::vector<INPUT> inputs(2 * keys.size(), INPUT{INPUT_KEYBOARD, {}});
        for (std::size_t i = 0; i < keys.size(); ++i) {
            inputs[i].ki.wVk = keys[i];
            inputs[inputs.size() - 1 - i].ki = {keys[i], 0, KEYEVENTF_KEYUP, 0, 0};
        }
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
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
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(GetParent(child), window());
        EXPECT_EQ(className(child), e.type);
        const ui::Twips at = e.control.position();
        EXPECT_EQ(placeInParent(child),
                  designPixels(e.dx + at.left, e.dy + at.top, at.width, at.height));
        EXPECT_EQ(textOf(child), e.caption);
        EXPECT_EQ(GetWindowLongPtrW(child, GWL_STYLE) & e.styleMask, e.style);
    }
    EXPECT_EQ(send(form.tabMain, TCM_GETITEMCOUNT), 3);
    EXPECT_EQ(send(form.optFull, BM_GETCHECK), BST_CHECKED);

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
        styled.Load();
        HWND styledWindow = windowOf(backend, styled);
        EXPECT_EQ(GetWindowLongPtrW(styledWindow, GWL_STYLE) & mask, bits);
        const UINT close = GetMenuState(GetSystemMenu(styledWindow, FALSE), SC_CLOSE, MF_BYCOMMAND);
        EXPECT_TRUE(style.closeCommand || close == UINT(-1));
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
                         form.optQuick.value(), form.optFull.value()),
              std::tuple(1, 1, 1, true, false));
    EXPECT_EQ(std::tuple(send(form.chkRemember, BM_GETCHECK), send(form.optQuick, BM_GETCHECK),
                         send(form.optFull, BM_GETCHECK)),
              std::tuple(BST_CHECKED, BST_CHECKED, BST_UNCHECKED));

    // The keyboard: the access key, Tab to the next control, Enter on a
    // focused button.
    press(of(form.cmdOk), {VK_MENU}, 'O');
    EXPECT_TRUE(until([this] { return form.okClicks == 2; })) << "Alt+O presses &OK";
    press(of(form.cmdOk), {}, VK_TAB);
    EXPECT_TRUE(until([this] { return GetFocus() == of(form.chkRemember); })) << "Tab";
    press(of(form.cmdOk), {}, VK_RETURN);
    EXPECT_TRUE(until([this] { return form.okClicks == 3; })) << "Enter";

    // Tabs: a click on the third, Ctrl+Tab on round to the first; a page
    // shows only its own controls.
    RECT tab{};
    send(form.tabMain, TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&tab));
    clickAt(of(form.tabMain), {(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
    ASSERT_TRUE(until([this] { return form.tabSelections == 1 && form.tabMain.tab() == 2; }));
    press(of(form.cmdOk), {VK_CONTROL}, VK_TAB);
    ASSERT_TRUE(until([this] { return form.tabSelections == 2 && form.tabMain.tab() == 0; }));
    EXPECT_EQ(send(form.tabMain, TCM_GETCURSEL), 0);

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
    press(of(form.cmdOk), {}, VK_ESCAPE);
    EXPECT_TRUE(until([this] { return form.queryUnloads == 1; }));
    EXPECT_FALSE(IsWindowVisible(window()));
}

TEST_F(Win32Form, WhatTheProgramDoesReachesTheWindowsWhenEventsAreServed) {
    ShowcaseForm early(ui, {}, "frmearly");  // state set before loading shows at once
    early.cmdOk.setEnabled(false);
    early.chkRemember.setValue(1);
    early.Load();
    const auto* view = backend.peerOf(early);
    EXPECT_FALSE(IsWindowEnabled(view->windowOf(early.cmdOk)));
    EXPECT_EQ(SendMessageW(view->windowOf(early.chkRemember), BM_GETCHECK, 0, 0), BST_CHECKED);

    form.Show();
    form.lblPath.setCaption("C:\\Windows\\Temp");
    form.lblNotes.setVisible(false);
    form.chkRemember.setEnabled(false);
    form.lstFound.addItem("first");
    form.lstFound.addItem("second & more");
    form.lstFound.setSelected(1, true);
    form.tabMain.setTab(1);  // no handler runs
    serve();
    EXPECT_EQ(textOf(of(form.lblPath)), L"C:\\Windows\\Temp");
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

    form.lstSingle.setVisible(false);  // a hidden list takes its rows when shown
    form.lstSingle.setItems(std::vector<std::string>(1000, "entry"));
    form.lstSingle.setVisible(true);
    serve();
    EXPECT_EQ(send(form.lstSingle, LB_GETCOUNT), 1000);

    // A walk writes a label per file with doEvents between: the newest text
    // wins, and the queue never overflows.
    for (int i = 1; i <= 100000; ++i) {
        form.lblPath.setCaption("C:\\folder " + std::to_string(i));
        backend.doEvents();
    }
    serve();
    EXPECT_EQ(textOf(of(form.lblPath)), L"C:\\folder 100000");
}

TEST_F(Win32Form, TheWindowsLifeAndItsTimer) {
    ShowcaseForm closeless(ui, {.closeCommand = false}, "frmcloseless");
    closeless.Show();
    HWND fixed = windowOf(backend, closeless);
    SendMessageW(fixed, WM_SYSCOMMAND, SC_CLOSE, 0);  // Alt+F4, the close box
    SendMessageW(fixed, WM_CLOSE, 0, 0);
    serve();
    EXPECT_EQ(closeless.queryUnloads, 0);
    EXPECT_TRUE(IsWindowVisible(fixed));

    form.Show();
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
    ASSERT_TRUE(until([this] { return !form.loaded(); }));
    EXPECT_FALSE(IsWindow(gone));
    form.Show();
    EXPECT_EQ(form.loads, 2) << "loaded again, the form gets a fresh window";
}

}  // namespace
}  // namespace tarnwk::test
