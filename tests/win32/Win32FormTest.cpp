// Windows built from form declarations by the Win32 backend: classes,
// geometry at the system's DPI (96, and 144 in a run of its own), captions,
// styles and fonts; events both ways between native controls and the form's
// controls; the window's life.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>

#include "platform/win32/Win32UiScale.h"
#include "support/ShowcaseForm.h"
#include "win32/Win32UiView.h"

namespace tarnwk::test {
namespace {

std::string show(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

LOGFONTW fontOf(HWND window) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

LONG_PTR styleOf(HWND window) {
    return GetWindowLongPtrW(window, GWL_STYLE);
}

class Win32Form : public ::testing::Test {
protected:
    HWND of(const ui::Control& control) { return Win32View(backend, form).of(control); }
    HWND window() { return Win32View(backend, form).window(); }
    void serve(int ms = 60) { serveFor(backend, ms); }
    bool until(const std::function<bool()>& done) { return serveUntil(backend, done, 3000); }
    // A key through the system's input queue, with `focus` focused.
    void press(HWND focus, std::initializer_list<WORD> held, WORD key) {
        SetForegroundWindow(window());
        SetFocus(focus);
        pressKeys(held, key);
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
    EXPECT_EQ(show(client), show(designPixels(0, 0, 7000, 5505)));
    EXPECT_EQ(GetWindow(window(), GW_OWNER), backend.applicationWindow());

    // Inside a frame, a picture box or on a tab page, a position counts from
    // the container.
    const struct {
        const ui::Control& control;
        const wchar_t* type;
        RECT rect;
        const wchar_t* caption;
        LONG_PTR styleMask = 0, style = 0;
    } expected[] = {
        {form.lblPath, L"Static", designPixels(120, 120, 3000, 255), L"/home/user/A & B",
         SS_NOPREFIX, SS_NOPREFIX},  // an & in a path is shown as written
        {form.cmdOk, L"Button", designPixels(4920, 120, 1215, 375), L"&OK"},
        {form.chkRemember, L"Button", designPixels(4920, 600, 1815, 255), L"&Remember", 0xF,
         BS_CHECKBOX},
        {form.fraMode, L"Button", designPixels(120, 480, 3000, 1335), L"Choose Mode", 0xF,
         BS_GROUPBOX},
        {form.optFull, L"Button", designPixels(120 + 240, 480 + 360, 2000, 255), L"Full", 0xF,
         BS_RADIOBUTTON},
        {form.optQuick, L"Button", designPixels(120 + 240, 480 + 840, 2000, 255), L"Quick"},
        {form.lstFound, L"ListBox", designPixels(3240, 1200, 3495, 930), L"", LBS_MULTIPLESEL,
         LBS_MULTIPLESEL},
        {form.lstSingle, L"ListBox", designPixels(120, 1920, 3000, 570), L"",
         LBS_MULTIPLESEL | LBS_EXTENDEDSEL, 0},
        {form.tabMain, WC_TABCONTROLW, designPixels(120, 2640, 6615, 2175), L""},
        {form.lblOnScan, L"Static", designPixels(120 + 360, 2640 + 720, 2415, 255),
         L"On the scan page"},
        {form.cmdScan, L"Button", designPixels(120 + 3000, 2640 + 1320, 1215, 375), L"&Scan Now"},
        {form.picBanner, L"TarnwickPicture", designPixels(3240, 2160, 3495, 435), L""},
        {form.lblOnPicture, L"Static", designPixels(3240 + 60, 2160 + 60, 1200, 255),
         L"Version 1.1"},
        {form.sbrStatus, STATUSCLASSNAMEW, designPixels(0, 5250, 7000, 255), L""},
    };
    for (const auto& e : expected) {
        HWND child = of(e.control);
        ASSERT_NE(child, nullptr) << e.control.name();
        EXPECT_EQ(GetParent(child), window()) << e.control.name();
        EXPECT_EQ(className(child), e.type) << e.control.name();
        EXPECT_EQ(show(placeInParent(child)), show(e.rect)) << e.control.name();
        EXPECT_EQ(textOf(child), e.caption) << e.control.name();
        EXPECT_EQ(styleOf(child) & e.styleMask, e.style) << e.control.name();
    }
    EXPECT_EQ(send(form.tabMain, TCM_GETITEMCOUNT), 3);
    EXPECT_EQ(send(form.optFull, BM_GETCHECK), BST_CHECKED);

    const LOGFONTW label = fontOf(of(form.lblPath));
    EXPECT_EQ(std::wstring(label.lfFaceName), win32::messageFontFace(96));
    EXPECT_EQ(label.lfHeight, testDpi() == 144 ? -17 : -11) << "8.25 points";
    EXPECT_FALSE(label.lfUnderline);
    EXPECT_TRUE(fontOf(of(form.lblLink)).lfUnderline);
    EXPECT_EQ(fontOf(of(form.fraMode)).lfWeight, FW_BOLD);
    EXPECT_EQ(fontOf(of(form.optFull)).lfWeight, FW_NORMAL) << "not its contents";

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
        HWND styledWindow = Win32View(backend, styled).window();
        EXPECT_EQ(styleOf(styledWindow) & mask, bits);
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
    EXPECT_EQ(form.okClicks, 1);
    EXPECT_EQ(form.rememberClicks, 1);
    EXPECT_EQ(form.chkRemember.value(), 1);
    EXPECT_EQ(send(form.chkRemember, BM_GETCHECK), BST_CHECKED);
    EXPECT_TRUE(form.optQuick.value());
    EXPECT_FALSE(form.optFull.value());
    EXPECT_EQ(send(form.optFull, BM_GETCHECK), BST_UNCHECKED);
    EXPECT_EQ(send(form.optQuick, BM_GETCHECK), BST_CHECKED);

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
    ASSERT_TRUE(until([this] { return form.tabSelections == 1; }));
    EXPECT_EQ(form.tabMain.tab(), 2);
    press(of(form.cmdOk), {VK_CONTROL}, VK_TAB);
    ASSERT_TRUE(until([this] { return form.tabSelections == 2; }));
    EXPECT_EQ(form.tabMain.tab(), 0);
    EXPECT_EQ(send(form.tabMain, TCM_GETCURSEL), 0);

    // A simple list toggles each row clicked, a single one keeps the last.
    form.lstFound.setItems({"/a > one", "/b > two", "/c > three"});
    form.lstSingle.setItems({"a", "b", "c"});
    serve();
    auto clickRows = [](HWND list, std::initializer_list<int> rows) {
        for (const int row : rows) {
            RECT item{};
            SendMessageW(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item));
            clickAt(list, {item.left + 4, (item.top + item.bottom) / 2});
        }
    };
    clickRows(of(form.lstFound), {1, 2, 1});
    clickRows(of(form.lstSingle), {0, 2});
    serve(150);
    for (const ui::ListBox* list : {&form.lstFound, &form.lstSingle}) {
        EXPECT_EQ(list->selectedCount(), 1u) << list->name();
        EXPECT_TRUE(list->selected(2)) << list->name();
    }

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
    EXPECT_FALSE(IsWindowEnabled(Win32View(backend, early).of(early.cmdOk)));
    EXPECT_EQ(SendMessageW(Win32View(backend, early).of(early.chkRemember), BM_GETCHECK, 0, 0),
              BST_CHECKED);

    form.Show();
    form.lblPath.setCaption("C:\\Windows\\Temp");
    form.lblNotes.setVisible(false);
    form.chkRemember.setEnabled(false);
    form.lstFound.addItem("first");
    form.lstFound.addItem("second & more");
    form.lstFound.setSelected(1, true);
    form.tabMain.setTab(1);  // no handler runs
    EXPECT_EQ(textOf(of(form.lblPath)), L"/home/user/A & B") << "not before events are served";
    serve();
    EXPECT_EQ(textOf(of(form.lblPath)), L"C:\\Windows\\Temp");
    EXPECT_FALSE(IsWindowVisible(of(form.lblNotes)));
    EXPECT_FALSE(IsWindowEnabled(of(form.chkRemember)));
    EXPECT_EQ(send(form.tabMain, TCM_GETCURSEL), 1);
    EXPECT_TRUE(IsWindowVisible(of(form.lblOnScan)));
    EXPECT_EQ(form.tabSelections, 0);
    form.lstFound.removeItem(0);
    form.tabMain.setTab(2);
    form.picBanner.setVisible(false);  // a hidden container hides what it holds
    serve();
    EXPECT_FALSE(IsWindowVisible(of(form.lblOnScan)));
    EXPECT_FALSE(IsWindowVisible(of(form.lblOnPicture)));
    ASSERT_EQ(send(form.lstFound, LB_GETCOUNT), 1);
    wchar_t row[64] = L"";
    send(form.lstFound, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(row));
    EXPECT_STREQ(row, L"second & more");
    EXPECT_GT(send(form.lstFound, LB_GETSEL), 0);

    form.lstSingle.setVisible(false);  // a hidden list takes its rows when shown
    form.lstSingle.setItems(std::vector<std::string>(1000, "entry"));
    serve();
    EXPECT_EQ(send(form.lstSingle, LB_GETCOUNT), 0);
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
    HWND fixed = Win32View(backend, closeless).window();
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
    const int ticks = form.ticks;
    serve(150);
    EXPECT_EQ(form.ticks, ticks);
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
