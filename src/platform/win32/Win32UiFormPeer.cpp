#include "platform/win32/Win32UiFormPeer.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Ui.h"
#include "platform/win32/Win32UiArtwork.h"
#include "platform/win32/Win32UiScale.h"

namespace tarnwk::win32 {

namespace {

using ui::ControlKind;

DWORD windowStyle(const ui::FormStyle& style) {
    if (!style.titleBar) return WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
    DWORD result = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    if (style.minimizeButton) result |= WS_MINIMIZEBOX;
    if (style.maximizeButton) result |= WS_MAXIMIZEBOX;
    return result;
}

bool isContainer(ControlKind kind) {
    return kind == ControlKind::Frame || kind == ControlKind::PictureBox ||
           kind == ControlKind::TabControl;
}

int depth(const ui::Control& control) {
    int levels = 0;
    for (const ui::Control* c = control.container(); c; c = c->container()) ++levels;
    return levels;
}

}  // namespace

const wchar_t* Win32FormPeer::windowClass() {
    return L"TarnwickForm";
}

Win32FormPeer::Win32FormPeer(Win32Ui& ui, ui::Form& form) : ui_(ui), form_(form) {
    registerUiClasses();
    style_ = windowStyle(form.style());
    // Owned by the hidden application window, yet on the taskbar.
    exStyle_ = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
    const std::wstring caption = toWide(form.caption());
    hwnd_ = CreateWindowExW(exStyle_, windowClass(), caption.c_str(), style_, CW_USEDEFAULT,
                            CW_USEDEFAULT, 0, 0, ui.applicationWindow(), nullptr,
                            GetModuleHandleW(nullptr), this);
    dpi_ = windowDpi(hwnd_);
    const SIZE frame = frameSize(twipsToPixels(form.clientWidth(), dpi_),
                                 twipsToPixels(form.clientHeight(), dpi_), style_, exStyle_, dpi_);
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.cx, frame.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!form.style().closeCommand && form.style().titleBar) RemoveCloseMenu(hwnd_);
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(programIcon(GetSystemMetrics(SM_CXSMICON))));
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(programIcon(GetSystemMetrics(SM_CXICON))));
    buildControls();
    ui_.peerCreated(this);
}

Win32FormPeer::~Win32FormPeer() {
    // The controls may be gone already (the form is being destroyed): touch
    // none of them. The window and its children go; a handler of the window
    // that is running now finds no peer when it returns.
    *alive_ = false;
    ui_.peerDestroyed(this);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    for (auto& binding : bindings_)
        if (binding->hwnd() && binding->kind() == ControlKind::PictureBox)
            SetWindowLongPtrW(binding->hwnd(), GWLP_USERDATA, 0);
    if (GetActiveWindow() == hwnd_ || IsChild(hwnd_, GetFocus())) SetFocus(nullptr);
    DestroyWindow(hwnd_);
    for (auto& [key, font] : fonts_) DeleteObject(font);
    dropPageBrushes();
}

void Win32FormPeer::buildControls() {
    bindings_.reserve(form_.controls().size());
    int id = kFirstControlId;
    for (ui::Control* control : form_.controls()) {
        auto& binding =
            *bindings_.emplace_back(std::make_unique<Win32ControlBinding>(*this, *control, id++));
        binding.create(hwnd_, dpi_);
    }
    stackControls();
    for (auto& binding : bindings_) {
        binding->applyAll();
        binding->control().attach(binding.get());
    }
    applyVisibility();
}

void Win32FormPeer::stackControls() {
    // What a container holds lies above it, and labels and lines lie below
    // every other control, as drawings on their container: controls on top
    // in their declared order (which is also the tab order), then labels
    // and lines, then the containers, the innermost first.
    std::vector<Win32ControlBinding*> order;
    auto drawn = [](ControlKind kind) {
        return kind == ControlKind::Label || kind == ControlKind::Line;
    };
    for (auto& binding : bindings_)
        if (binding->hwnd() && !isContainer(binding->control().kind()) &&
            !drawn(binding->control().kind()))
            order.push_back(binding.get());
    for (auto& binding : bindings_)
        if (binding->hwnd() && drawn(binding->control().kind())) order.push_back(binding.get());
    std::vector<Win32ControlBinding*> containers;
    for (auto& binding : bindings_)
        if (binding->hwnd() && isContainer(binding->control().kind()))
            containers.push_back(binding.get());
    std::stable_sort(containers.begin(), containers.end(),
                     [](auto* a, auto* b) { return depth(a->control()) > depth(b->control()); });
    order.insert(order.end(), containers.begin(), containers.end());
    HWND after = HWND_TOP;
    for (Win32ControlBinding* binding : order) {
        SetWindowPos(binding->hwnd(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = binding->hwnd();
    }
}

HWND Win32FormPeer::windowOf(const ui::Control& control) const {
    const Win32ControlBinding* binding = bindingOf(control);
    return binding ? binding->hwnd() : nullptr;
}

Win32ControlBinding* Win32FormPeer::bindingOf(const ui::Control& control) const {
    for (const auto& binding : bindings_)
        if (&binding->control() == &control) return binding.get();
    return nullptr;
}

Win32ControlBinding* Win32FormPeer::bindingById(int id) const {
    const int index = id - kFirstControlId;
    if (index < 0 || index >= static_cast<int>(bindings_.size())) return nullptr;
    return bindings_[static_cast<std::size_t>(index)].get();
}

HFONT Win32FormPeer::font(const ui::Font& font, bool underline) {
    const std::string key =
        std::to_string(font.points) + (font.bold ? "b" : "") + (underline ? "u" : "") + font.family;
    if (const auto it = fonts_.find(key); it != fonts_.end()) return it->second;
    HFONT created = createControlFont(font, underline, dpi_);
    fonts_.emplace(key, created);
    return created;
}

void Win32FormPeer::show() {
    flush();
    if (!shownBefore_) {
        shownBefore_ = true;
        if (form_.style().centred) centre();
    }
    showing_ = true;
    ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOW);
    showing_ = false;
    SetForegroundWindow(hwnd_);
    SetActiveWindow(hwnd_);
    // Painted now, controls included: a window shown before blocking work
    // (the splash, the download window) is on screen during it.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void Win32FormPeer::hide() {
    showing_ = true;
    ShowWindow(hwnd_, SW_HIDE);
    showing_ = false;
}

void Win32FormPeer::captionChanged() {
    SetWindowTextW(hwnd_, toWide(form_.caption()).c_str());
}

void Win32FormPeer::centre() {
    POINT pointer{};
    GetCursorPos(&pointer);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY), &monitor)) return;
    // Placed on the monitor first, so the size follows that monitor's DPI.
    RECT frame{};
    GetWindowRect(hwnd_, &frame);
    const RECT& work = monitor.rcWork;
    SetWindowPos(hwnd_, nullptr, work.left, work.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(hwnd_, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + std::max(0L, (work.bottom - work.top - height) / 2), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32FormPeer::userAction(const std::function<void()>& action,
                               const std::function<void()>& afterward) {
    // The action may unload the form and so delete this peer.
    const std::shared_ptr<bool> alive = alive_;
    action();
    if (!*alive) return;
    if (afterward) afterward();
    flush();
}

void Win32FormPeer::noteDirty(Win32ControlBinding& binding) {
    dirty_.push_back(&binding);
    if (!flushPosted_) {
        flushPosted_ = true;
        PostMessageW(hwnd_, kFlushMessage, 0, 0);
    }
}

void Win32FormPeer::flush() {
    // Applying runs no handler, so no binding is noted meanwhile.
    std::vector<Win32ControlBinding*> dirty;
    dirty.swap(dirty_);
    for (Win32ControlBinding* binding : dirty) binding->flush();
}

void Win32FormPeer::applyVisibility() {
    for (auto& binding : bindings_) binding->applyVisibility();
}

void Win32FormPeer::placeAll() {
    dropPageBrushes();
    for (auto& [key, font] : fonts_) DeleteObject(font);
    fonts_.clear();
    for (auto& binding : bindings_) binding->place(dpi_);
}

void Win32FormPeer::dpiChanged(UINT dpi, const RECT* suggested) {
    dpi_ = dpi;
    placeAll();
    const SIZE frame = frameSize(twipsToPixels(form_.clientWidth(), dpi_),
                                 twipsToPixels(form_.clientHeight(), dpi_), style_, exStyle_, dpi_);
    if (suggested)
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, frame.cx, frame.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

bool Win32FormPeer::switchTabByKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || !(GetKeyState(VK_CONTROL) & 0x8000)) return false;
    int step = 0;
    if (message.wParam == VK_TAB) step = (GetKeyState(VK_SHIFT) & 0x8000) ? -1 : 1;
    if (message.wParam == VK_NEXT) step = 1;
    if (message.wParam == VK_PRIOR) step = -1;
    if (step == 0) return false;
    for (auto& binding : bindings_) {
        if (binding->kind() != ControlKind::TabControl || !IsWindowVisible(binding->hwnd()))
            continue;
        auto& tabs = static_cast<ui::TabControl&>(binding->control());
        const int count = static_cast<int>(tabs.tabs().size());
        if (count == 0) return false;
        const int next = (tabs.tab() + step + count) % count;
        userAction([&tabs, next] { tabs.selectTab(next); });
        return true;
    }
    return false;
}

void Win32FormPeer::focusFirst() {
    HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    if (first) SetFocus(first);
}

void Win32FormPeer::makeDefault(HWND button, bool isDefault) {
    if (!button || (GetWindowLongPtrW(button, GWL_STYLE) & 0xF) > BS_DEFPUSHBUTTON) return;
    SendMessageW(button, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

namespace {

bool themed() {
    using IsAppThemed = BOOL(WINAPI*)();
    static HMODULE uxtheme = LoadLibraryW(L"uxtheme.dll");
    static const auto isAppThemed = uxtheme ? reinterpret_cast<IsAppThemed>(reinterpret_cast<void*>(
                                                  GetProcAddress(uxtheme, "IsAppThemed")))
                                            : nullptr;
    return isAppThemed && isAppThemed();
}

}  // namespace

HBRUSH Win32FormPeer::pageBrush(const Win32ControlBinding& binding, HDC dc) {
    const ui::Control* tabControl = binding.control().container();
    while (tabControl && tabControl->kind() != ControlKind::TabControl)
        tabControl = tabControl->container();
    if (!tabControl || !themed()) return nullptr;
    HWND tab = windowOf(*tabControl);
    if (!tab) return nullptr;
    auto it = pageBrushes_.find(tab);
    if (it == pageBrushes_.end()) {
        RECT client{};
        GetClientRect(tab, &client);
        HDC screen = GetDC(tab);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP picture = CreateCompatibleBitmap(screen, client.right, client.bottom);
        HGDIOBJ old = SelectObject(memory, picture);
        SendMessageW(tab, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory),
                     PRF_CLIENT | PRF_ERASEBKGND);
        SelectObject(memory, old);
        DeleteDC(memory);
        ReleaseDC(tab, screen);
        it = pageBrushes_.emplace(tab, std::pair{CreatePatternBrush(picture), picture}).first;
    }
    POINT origin{0, 0};
    MapWindowPoints(binding.hwnd(), tab, &origin, 1);
    SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
    SetBkMode(dc, TRANSPARENT);
    return it->second.first;
}

void Win32FormPeer::dropPageBrushes() {
    for (auto& [tab, brush] : pageBrushes_) {
        DeleteObject(brush.first);
        DeleteObject(brush.second);
    }
    pageBrushes_.clear();
}

void Win32FormPeer::updateClock() {
    wchar_t time[64] = L"";
    if (!GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, time, 64))
        return;
    for (auto& binding : bindings_) {
        if (binding->control().kind() != ControlKind::StatusBar || !binding->hwnd()) continue;
        wchar_t shown[64] = L"";
        SendMessageW(binding->hwnd(), SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(shown));
        if (lstrcmpW(shown, time) != 0)
            SendMessageW(binding->hwnd(), SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(time));
    }
}

LRESULT CALLBACK Win32FormPeer::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        reinterpret_cast<Win32FormPeer*>(create->lpCreateParams)->hwnd_ = hwnd;
    }
    auto* peer = reinterpret_cast<Win32FormPeer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!peer) return DefWindowProcW(hwnd, message, wParam, lParam);
    return peer->handle(message, wParam, lParam);
}

LRESULT Win32FormPeer::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            SetTimer(hwnd_, kClockTimer, 1000, nullptr);
            return 0;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const WORD code = HIWORD(wParam);
            if (id == IDCANCEL && lParam == 0) {
                // Escape closes a window that can be closed.
                if (form_.style().closeCommand) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
                return 0;
            }
            Win32ControlBinding* binding = bindingById(id);
            if (!binding) return 0;
            if (code == BN_SETFOCUS || code == BN_KILLFOCUS) {
                // The focused push button is the one Enter presses.
                if (binding->control().kind() == ControlKind::Button)
                    makeDefault(binding->hwnd(), code == BN_SETFOCUS);
                return 0;
            }
            binding->commanded(code);
            return 0;
        }
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (Win32ControlBinding* binding = bindingById(static_cast<int>(header->idFrom)))
                binding->notified(*header);
            return 0;
        }
        case DM_GETDEFID: {
            HWND focus = GetFocus();
            if (IsChild(hwnd_, focus) &&
                (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
                return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
            return 0;
        }
        case WM_NEXTDLGCTL: {
            HWND next = lParam ? reinterpret_cast<HWND>(wParam)
                               : GetNextDlgTabItem(hwnd_, GetFocus(), wParam != 0);
            if (next) SetFocus(next);
            return 0;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            auto* dc = reinterpret_cast<HDC>(wParam);
            if (Win32ControlBinding* binding = bindingById(id)) {
                HBRUSH brush = binding->colour(dc);
                if (!brush) brush = pageBrush(*binding, dc);
                if (!brush && binding->isLink()) {
                    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
                    brush = GetSysColorBrush(COLOR_BTNFACE);
                }
                if (binding->isLink()) SetTextColor(dc, RGB(0, 0, 255));
                if (brush) return reinterpret_cast<LRESULT>(brush);
            }
            break;
        }

        case WM_THEMECHANGED:
        case WM_SYSCOLORCHANGE:
            dropPageBrushes();
            break;
        case WM_SETCURSOR:
            if (ui_.busy()) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            if (LOWORD(lParam) == HTCLIENT) {
                const int id = GetDlgCtrlID(reinterpret_cast<HWND>(wParam));
                if (Win32ControlBinding* binding = bindingById(id); binding && binding->isLink()) {
                    SetCursor(LoadCursorW(nullptr, IDC_HAND));
                    return TRUE;
                }
            }
            break;
        case WM_TIMER:
            if (wParam == kClockTimer) {
                updateClock();
            } else if (Win32ControlBinding* binding = bindingById(static_cast<int>(wParam))) {
                binding->timerFired();
            }
            return 0;
        case WM_SYSCOMMAND:
            // Without a close command nothing closes the window, Alt+F4 included.
            if ((wParam & 0xFFF0) == SC_CLOSE && !form_.style().closeCommand) return 0;
            break;
        case WM_CLOSE:
            if (form_.style().closeCommand) userAction([this] { form_.closeRequested(); });
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (IsChild(hwnd_, focus)) focus_ = focus;
            } else {
                if (focus_ && IsWindow(focus_) && IsWindowVisible(focus_) &&
                    IsWindowEnabled(focus_))
                    SetFocus(focus_);
                else
                    focusFirst();
                // Reported once the activation has settled, not inside it.
                PostMessageW(hwnd_, kActivatedMessage, 0, 0);
            }
            return 0;
        case kActivatedMessage:
            if (GetActiveWindow() == hwnd_ && IsWindowVisible(hwnd_))
                userAction([this] { form_.activated(); });
            return 0;
        case WM_SHOWWINDOW:
            // Shown by another program (a later start bringing this one
            // forward): the form is shown as the program would show it.
            if (wParam && lParam == 0 && !showing_ && !form_.visible())
                PostMessageW(hwnd_, kShownFromOutsideMessage, 0, 0);
            break;
        case kShownFromOutsideMessage:
            // A window without an area (the tray's) is never meant to be seen.
            if (form_.clientWidth() == 0 || form_.clientHeight() == 0)
                ShowWindow(hwnd_, SW_HIDE);
            else if (!form_.visible())
                userAction([this] { form_.Show(); });
            return 0;
        case kFlushMessage:
            flushPosted_ = false;
            flush();
            return 0;
        case 0x02E0: {  // WM_DPICHANGED
            dpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace tarnwk::win32
