#include "platform/win32/Win32UiControl.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Ui.h"
#include "platform/win32/Win32UiFormPeer.h"
#include "platform/win32/Win32UiScale.h"

namespace tarnwk::win32 {

namespace {

using ui::Change;
using ui::ControlKind;

// A label that holds more than one line wraps its words; a one-line label
// (a path, a count) is cut at its right edge instead.
bool wraps(const ui::Control& control) {
    return control.position().height >= 390 || control.caption().find('\n') != std::string::npos;
}

DWORD styleOf(const ui::Control& control) {
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    switch (control.kind()) {
        case ControlKind::Label:
            // Shown as written: an "&" in a path stays an "&".
            return style | SS_NOPREFIX | SS_NOTIFY | (wraps(control) ? SS_LEFT : SS_LEFTNOWORDWRAP);
        case ControlKind::Button:
            return style | WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY;
        case ControlKind::CheckBox:
            // Not automatic: the control decides the value, the window shows it.
            return style | WS_TABSTOP | BS_CHECKBOX;
        case ControlKind::OptionButton:
            return style | WS_TABSTOP | BS_RADIOBUTTON;
        case ControlKind::Frame:
            return style | BS_GROUPBOX;
        case ControlKind::PictureBox:
            return style;
        case ControlKind::ListBox: {
            const auto mode = static_cast<const ui::ListBox&>(control).mode();
            style |= WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
            if (mode == ui::SelectionMode::Simple) style |= LBS_MULTIPLESEL;
            if (mode == ui::SelectionMode::Extended) style |= LBS_EXTENDEDSEL;
            return style;
        }
        case ControlKind::TabControl:
            return style | WS_TABSTOP;
        case ControlKind::StatusBar:
            return style | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
        case ControlKind::Line:
            return style | (control.position().width == 0 && control.position().height != 0
                                ? SS_ETCHEDVERT
                                : SS_ETCHEDHORZ);
        case ControlKind::Timer:
            return 0;
    }
    return style;
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

constexpr const wchar_t* kFrameProcProperty = L"TarnwickButtonProc";

LRESULT CALLBACK frameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto original = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kFrameProcProperty));
    if (message == WM_ERASEBKGND) {
        auto* dc = reinterpret_cast<HDC>(wParam);
        auto* brush = reinterpret_cast<HBRUSH>(SendMessageW(
            GetParent(hwnd), WM_CTLCOLORSTATIC, wParam, reinterpret_cast<LPARAM>(hwnd)));
        RECT client{};
        GetClientRect(hwnd, &client);
        FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
        return TRUE;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        RemovePropW(hwnd, kFrameProcProperty);
    }
    return CallWindowProcW(original, hwnd, message, wParam, lParam);
}

}  // namespace

const wchar_t* Win32ControlBinding::nativeClass(ui::ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
        case ControlKind::Line:
            return L"Static";
        case ControlKind::Button:
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
        case ControlKind::Frame:
            return L"Button";
        case ControlKind::PictureBox:
            return L"TarnwickPicture";
        case ControlKind::ListBox:
            return L"ListBox";
        case ControlKind::TabControl:
            return WC_TABCONTROLW;
        case ControlKind::StatusBar:
            return STATUSCLASSNAMEW;
        case ControlKind::Timer:
            return L"";
    }
    return L"Static";
}

void Win32ControlBinding::create(HWND parent, UINT dpi) {
    if (control_.kind() == ControlKind::Timer) return;
    const std::wstring caption =
        control_.kind() == ControlKind::PictureBox ? std::wstring() : toWide(control_.caption());
    const DWORD exStyle = control_.kind() == ControlKind::ListBox ? WS_EX_CLIENTEDGE : 0;
    hwnd_ =
        CreateWindowExW(exStyle, nativeClass(control_.kind()), caption.c_str(), styleOf(control_),
                        0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                        GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) return;
    if (control_.kind() == ControlKind::Frame) {
        // A group box leaves its inside unpainted: it gets the ground of a
        // label, as the rest of its container.
        SetPropW(hwnd_, kFrameProcProperty,
                 reinterpret_cast<HANDLE>(GetWindowLongPtrW(hwnd_, GWLP_WNDPROC)));
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&frameProc));
    }
    // Pictures paint themselves from their control's picture name.
    if (control_.kind() == ControlKind::PictureBox)
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&control_));
    if (control_.kind() == ControlKind::TabControl) {
        const auto& tabs = static_cast<ui::TabControl&>(control_).tabs();
        for (std::size_t i = 0; i < tabs.size(); ++i) {
            std::wstring text = toWide(tabs[i]);
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text.data();
            SendMessageW(hwnd_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        }
    }
    place(dpi);
}

ui::Twips Win32ControlBinding::absolutePosition() const {
    ui::Twips at = control_.position();
    for (const ui::Control* container = control_.container(); container;
         container = container->container()) {
        at.left += container->position().left;
        at.top += container->position().top;
    }
    return at;
}

void Win32ControlBinding::place(UINT dpi) {
    if (!hwnd_) return;
    RECT rect = pixelRect(absolutePosition(), dpi);
    if (control_.kind() == ControlKind::Line) {
        // A line is declared by its end points; its window is a thin band
        // along them.
        const int thickness = std::max(2, twipsToPixels(30, dpi));
        if (control_.position().width == 0 && control_.position().height != 0)
            rect = {rect.left, std::min(rect.top, rect.bottom), rect.left + thickness,
                    std::max(rect.top, rect.bottom)};
        else
            rect = {std::min(rect.left, rect.right), rect.top, std::max(rect.left, rect.right),
                    rect.top + thickness};
    }
    SetWindowPos(hwnd_, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    fontKey_.clear();
    applyFont();
    if (control_.kind() == ControlKind::StatusBar) applyStatusParts();
}

void Win32ControlBinding::update(ui::Control&, ui::Change change) {
    // A timer has nothing to paint; it follows its control at once.
    if (control_.kind() == ControlKind::Timer) {
        applyTimer();
        return;
    }
    note(bit(change));
}

void Win32ControlBinding::note(unsigned changes) {
    if (changes_.note(changes)) peer_.noteDirty(*this);
}

void Win32ControlBinding::flush() {
    if (const unsigned changes = changes_.take()) apply(changes);
}

void Win32ControlBinding::applyAll() {
    apply(changes_.takeAll());
}

void Win32ControlBinding::apply(unsigned changes) {
    if (control_.kind() == ControlKind::Timer) {
        applyTimer();
        return;
    }
    if (!hwnd_) return;
    changes = changes_.forVisibility(changes, control_.visible());
    if (changes & bit(Change::Enabled)) EnableWindow(hwnd_, control_.enabled() ? TRUE : FALSE);
    applyFont();
    if (changes & bit(Change::Caption)) applyCaption();
    if (changes & bit(Change::Value)) applyValue();
    if (changes & bit(Change::Items)) applyItems();
    if (changes & (bit(Change::Items) | bit(Change::Selection))) applySelection();
    if (changes & bit(Change::Tab)) applyTab();
    if (control_.kind() == ControlKind::PictureBox) InvalidateRect(hwnd_, nullptr, TRUE);
    // A container shown or hidden, or another tab: what it holds follows.
    if (changes & (bit(Change::Visible) | bit(Change::Tab)))
        peer_.applyVisibility();
    else
        applyVisibility();
}

bool Win32ControlBinding::shownOnScreen() const {
    const ui::Control* inner = &control_;
    if (!inner->visible()) return false;
    for (const ui::Control* container = inner->container(); container;
         container = container->container()) {
        if (!container->visible()) return false;
        if (container->kind() == ControlKind::TabControl &&
            static_cast<const ui::TabControl*>(container)->tab() != inner->tabPage())
            return false;
        inner = container;
    }
    return true;
}

void Win32ControlBinding::applyVisibility() {
    if (!hwnd_) return;
    const bool shown = shownOnScreen();
    if (shown == shown_ && static_cast<bool>(IsWindowVisible(hwnd_)) == shown) return;
    shown_ = shown;
    // A focused control that goes out of sight hands the focus on.
    if (!shown && GetFocus() == hwnd_) SendMessageW(GetParent(hwnd_), WM_NEXTDLGCTL, 0, FALSE);
    ShowWindow(hwnd_, shown ? SW_SHOWNA : SW_HIDE);
}

void Win32ControlBinding::applyFont() {
    // Fonts are plain fields of the control, set while the form is declared
    // or loaded; compared at each flush.
    const ui::Font& font = control_.font;
    std::string key =
        std::to_string(font.points) + (font.bold ? "b" : "") + (isLink() ? "u" : "") + font.family;
    if (key == fontKey_) return;
    fontKey_ = std::move(key);
    font_ = peer_.font(font, isLink());
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
}

void Win32ControlBinding::applyCaption() {
    switch (control_.kind()) {
        case ControlKind::Label:
        case ControlKind::Button:
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
        case ControlKind::Frame: {
            const std::wstring caption = toWide(control_.caption());
            if (windowText(hwnd_) != caption) SetWindowTextW(hwnd_, caption.c_str());
            break;
        }
        default:
            break;
    }
}

void Win32ControlBinding::applyValue() {
    if (control_.kind() == ControlKind::CheckBox) {
        const int value = static_cast<ui::CheckBox&>(control_).value();
        // 2 is the greyed state of a check box.
        if (value == 2)
            SetWindowLongPtrW(hwnd_, GWL_STYLE,
                              (GetWindowLongPtrW(hwnd_, GWL_STYLE) & ~0xF) | BS_3STATE);
        SendMessageW(hwnd_, BM_SETCHECK,
                     value == 0   ? BST_UNCHECKED
                     : value == 1 ? BST_CHECKED
                                  : BST_INDETERMINATE,
                     0);
    } else if (control_.kind() == ControlKind::OptionButton) {
        SendMessageW(hwnd_, BM_SETCHECK,
                     static_cast<ui::OptionButton&>(control_).value() ? BST_CHECKED : BST_UNCHECKED,
                     0);
    }
}

void Win32ControlBinding::applyItems() {
    if (control_.kind() != ControlKind::ListBox) return;
    const auto& items = static_cast<ui::ListBox&>(control_).items();
    // Rows are mostly added at the end (found items during a walk): append
    // those, and rebuild only when earlier rows changed.
    std::size_t kept = 0;
    const auto shown = static_cast<std::size_t>(SendMessageW(hwnd_, LB_GETCOUNT, 0, 0));
    if (rows_.size() <= items.size() && shown == rows_.size())
        while (kept < rows_.size() && rows_[kept] == items[kept]) ++kept;
    SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
    if (kept < rows_.size() || shown != kept) {
        SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
        rows_.clear();
        kept = 0;
        widest_ = 0;
    }
    // Long paths scroll sideways rather than being cut off.
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(dc, font_);
    for (std::size_t i = kept; i < items.size(); ++i) {
        const std::wstring row = toWide(items[i]);
        SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
        SIZE extent{};
        if (GetTextExtentPoint32W(dc, row.c_str(), static_cast<int>(row.size()), &extent))
            widest_ = std::max(widest_, static_cast<int>(extent.cx));
    }
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    SendMessageW(hwnd_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest_ + 8), 0);
    rows_.insert(rows_.end(), items.begin() + static_cast<std::ptrdiff_t>(kept), items.end());
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Win32ControlBinding::applySelection() {
    if (control_.kind() != ControlKind::ListBox) return;
    const auto& model = static_cast<ui::ListBox&>(control_);
    const auto rows = std::min<std::size_t>(
        static_cast<std::size_t>(SendMessageW(hwnd_, LB_GETCOUNT, 0, 0)), model.count());
    if (model.mode() == ui::SelectionMode::Single) {
        LRESULT wanted = LB_ERR;
        for (std::size_t row = 0; row < rows; ++row)
            if (model.selected(row)) wanted = static_cast<LRESULT>(row);
        if (SendMessageW(hwnd_, LB_GETCURSEL, 0, 0) != wanted)
            SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(wanted), 0);
        return;
    }
    for (std::size_t row = 0; row < rows; ++row) {
        const bool selected = model.selected(row);
        if ((SendMessageW(hwnd_, LB_GETSEL, row, 0) > 0) != selected)
            SendMessageW(hwnd_, LB_SETSEL, selected ? TRUE : FALSE, static_cast<LPARAM>(row));
    }
}

void Win32ControlBinding::applyTab() {
    if (control_.kind() != ControlKind::TabControl) return;
    const int tab = static_cast<ui::TabControl&>(control_).tab();
    if (SendMessageW(hwnd_, TCM_GETCURSEL, 0, 0) != tab) SendMessageW(hwnd_, TCM_SETCURSEL, tab, 0);
}

void Win32ControlBinding::applyTimer() {
    const auto& model = static_cast<ui::Timer&>(control_);
    const bool run = model.enabled() && model.interval() > 0;
    HWND owner = peer_.hwnd();
    if (run)  // SetTimer again restarts the count with the new interval
        timerRunning_ = SetTimer(owner, static_cast<UINT_PTR>(id_),
                                 static_cast<UINT>(model.interval()), nullptr) != 0;
    else if (timerRunning_) {
        KillTimer(owner, static_cast<UINT_PTR>(id_));
        timerRunning_ = false;
    }
}

void Win32ControlBinding::applyStatusParts() {
    // One stretching panel, and the time of day at the right.
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int clockWidth = twipsToPixels(1200, peer_.dpi());
    int parts[2] = {std::max(0, static_cast<int>(client.right) - clockWidth), -1};
    SendMessageW(hwnd_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
}

void Win32ControlBinding::commanded(WORD code) {
    switch (control_.kind()) {
        case ControlKind::Button:
            if (code == BN_CLICKED) peer_.userAction([this] { control_.click(); });
            break;
        case ControlKind::CheckBox:
        case ControlKind::OptionButton:
            if (code == BN_CLICKED || code == BN_DOUBLECLICKED)
                peer_.userAction([this] { control_.click(); },
                                 [this] { note(bit(Change::Value)); });
            break;
        case ControlKind::Label:
            if (code == STN_CLICKED) peer_.userAction([this] { control_.click(); });
            break;
        case ControlKind::ListBox:
            if (code == LBN_SELCHANGE) listSelectionChanged();
            break;
        default:
            break;
    }
}

void Win32ControlBinding::listSelectionChanged() {
    auto& model = static_cast<ui::ListBox&>(control_);
    HWND list = hwnd_;
    peer_.userAction(
        [&model, list] {
            const auto rows = std::min<std::size_t>(
                static_cast<std::size_t>(SendMessageW(list, LB_GETCOUNT, 0, 0)), model.count());
            const LRESULT current = model.mode() == ui::SelectionMode::Single
                                        ? SendMessageW(list, LB_GETCURSEL, 0, 0)
                                        : LB_ERR;
            for (std::size_t row = 0; row < rows; ++row) {
                const bool selected = model.mode() == ui::SelectionMode::Single
                                          ? current == static_cast<LRESULT>(row)
                                          : SendMessageW(list, LB_GETSEL, row, 0) > 0;
                if (selected != model.selected(row)) model.setSelected(row, selected);
            }
            model.click();
        },
        [this] { note(bit(Change::Selection)); });
}

void Win32ControlBinding::notified(const NMHDR& header) {
    if (control_.kind() != ControlKind::TabControl || header.code != TCN_SELCHANGE) return;
    auto& model = static_cast<ui::TabControl&>(control_);
    const int tab = static_cast<int>(SendMessageW(hwnd_, TCM_GETCURSEL, 0, 0));
    peer_.userAction([&model, tab] { model.selectTab(tab); }, [this] { note(bit(Change::Tab)); });
}

void Win32ControlBinding::timerFired() {
    auto& model = static_cast<ui::Timer&>(control_);
    peer_.userAction([&model] { model.tick(); });
}

HBRUSH Win32ControlBinding::colour(HDC dc) {
    if (control_.kind() != ControlKind::Label) return nullptr;
    if (control_.whiteBackground) {
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    }
    return nullptr;
}

}  // namespace tarnwk::win32
