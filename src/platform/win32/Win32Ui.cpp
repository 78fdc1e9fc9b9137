#include "platform/win32/Win32Ui.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Messages.h"
#include "platform/win32/Win32UiArtwork.h"
#include "platform/win32/Win32UiFormPeer.h"
#include "platform/win32/Win32UiTray.h"

namespace tarnwk::win32 {

namespace {

LRESULT CALLBACK pictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return TRUE;
    if (message == WM_PAINT) {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(hwnd, &paint);
        RECT client{};
        GetClientRect(hwnd, &client);
        const auto* control =
            reinterpret_cast<const ui::Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        drawArtwork(dc, client, control ? control->picture : std::string());
        EndPaint(hwnd, &paint);
        return 0;
    }
    if (message == WM_NCHITTEST) return HTTRANSPARENT;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool registerClass(const wchar_t* name, WNDPROC proc, HBRUSH background, HICON icon = nullptr) {
    WNDCLASSEXW type{};
    type.cbSize = sizeof(type);
    type.style = CS_DBLCLKS;
    type.lpfnWndProc = proc;
    type.hInstance = GetModuleHandleW(nullptr);
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    type.hbrBackground = background;
    type.hIcon = icon;
    type.lpszClassName = name;
    return RegisterClassExW(&type) != 0;
}

}  // namespace

void registerUiClasses() {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof(controls),
                                      ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        registerClass(Win32FormPeer::windowClass(), &Win32FormPeer::windowProc,
                      GetSysColorBrush(COLOR_BTNFACE), programIcon(GetSystemMetrics(SM_CXICON)));
        registerClass(L"TarnwickPicture", &pictureProc, nullptr);
        registerClass(Win32Ui::kApplicationWindowClass, DefWindowProcW, nullptr);
        return true;
    }();
    (void)registered;
}

void RemoveCloseMenu(HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    if (!menu) return;
    // The standard system menu ends with a separator and Close; Close is
    // looked for by its command, so a menu extended by the system still
    // loses only those two.
    for (int position = GetMenuItemCount(menu) - 1; position >= 0; --position) {
        if (GetMenuItemID(menu, position) != SC_CLOSE) continue;
        RemoveMenu(menu, static_cast<UINT>(position), MF_BYPOSITION);
        if (position > 0 &&
            (GetMenuState(menu, static_cast<UINT>(position - 1), MF_BYPOSITION) & MF_SEPARATOR))
            RemoveMenu(menu, static_cast<UINT>(position - 1), MF_BYPOSITION);
        break;
    }
    DrawMenuBar(window);
}

Win32Ui::Win32Ui(std::string title, std::chrono::milliseconds serveInterval)
    : title_(std::move(title)),
      serveInterval_(serveInterval),
      lastServed_(std::chrono::steady_clock::now() - serveInterval) {
    registerUiClasses();
    // Never shown; owns every window of the program.
    appWindow_ =
        CreateWindowExW(WS_EX_TOOLWINDOW, kApplicationWindowClass, toWide(title_).c_str(), WS_POPUP,
                        0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

Win32Ui::~Win32Ui() {
    tray_.reset();
    if (appWindow_) DestroyWindow(appWindow_);
}

std::unique_ptr<ui::FormPeer> Win32Ui::createPeer(ui::Form& form) {
    return std::make_unique<Win32FormPeer>(*this, form);
}

void Win32Ui::peerCreated(Win32FormPeer* peer) {
    peers_.push_back(peer);
}

void Win32Ui::peerDestroyed(Win32FormPeer* peer) {
    std::erase(peers_, peer);
}

Win32FormPeer* Win32Ui::peerOf(const ui::Form& form) const {
    for (Win32FormPeer* peer : peers_)
        if (&peer->form() == &form) return peer;
    return nullptr;
}

void Win32Ui::flushAll() {
    // A flush runs no handler, so the list does not change meanwhile.
    for (Win32FormPeer* peer : peers_) peer->flush();
}

void Win32Ui::dispatch(MSG& message) {
    if (message.hwnd) {
        HWND root = GetAncestor(message.hwnd, GA_ROOT);
        for (Win32FormPeer* peer : peers_)
            if (peer->hwnd() == root) {
                if (peer->switchTabByKey(message) || IsDialogMessageW(root, &message)) return;
                break;
            }
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void Win32Ui::serveWaiting(std::chrono::milliseconds budget) {
    const auto until = std::chrono::steady_clock::now() + budget;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        dispatch(message);
        if (std::chrono::steady_clock::now() >= until) return;
    }
}

void Win32Ui::doEvents() {
    if (std::chrono::steady_clock::now() - lastServed_ < serveInterval_) return;
    flushAll();
    serveWaiting();
    // Counted from the end of serving: however long painting took, the
    // walk gets the whole interval before the next turn.
    lastServed_ = std::chrono::steady_clock::now();
}

void Win32Ui::setBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    // At once, not only when the mouse next moves.
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
    POINT pointer{};
    if (!busy && GetCursorPos(&pointer)) SetCursorPos(pointer.x, pointer.y);
}

platform::MessageResult Win32Ui::messageBox(std::string_view text, platform::MessageButtons buttons,
                                            platform::MessageIcon icon) {
    flushAll();
    UINT flags = messageBoxStyle(buttons, icon);
    // Over the window the user works in; with none visible, every window of
    // the program waits for the answer.
    HWND owner = GetActiveWindow();
    if (!owner || !IsWindowVisible(owner)) {
        owner = nullptr;
        flags |= MB_TASKMODAL;
    }
    const int pressed = MessageBoxW(owner, toWide(text).c_str(), toWide(title_).c_str(), flags);
    return messageBoxResult(pressed, buttons);
}

void Win32Ui::endProgram(int exitCode) {
    // The icon goes with the program, not at the next mouse move over it.
    if (tray_) tray_->remove();
    std::fflush(nullptr);
    std::exit(exitCode);
}

HWND Win32Ui::menuOwner() {
    return tray_ ? tray_->hwnd() : appWindow_;
}

int Win32Ui::popupMenu(const std::vector<std::string>& items) {
    flushAll();
    HMENU menu = CreatePopupMenu();
    if (!menu) return -1;
    for (std::size_t i = 0; i < items.size(); ++i)
        AppendMenuW(menu, MF_STRING, i + 1, toWide(items[i]).c_str());
    POINT at{};
    GetCursorPos(&at);
    HWND owner = menuOwner();
    // The menu closes when the user clicks elsewhere only if its owner is
    // the foreground window; the message after it lets the next click count.
    SetForegroundWindow(owner);
    const auto chosen = static_cast<int>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    DestroyMenu(menu);
    return chosen > 0 ? chosen - 1 : -1;
}

bool Win32Ui::addTrayIcon(std::string_view tip, std::function<void(ui::TrayMessage)> onMessage) {
    tray_ = std::make_unique<Win32TrayIcon>(tip, std::move(onMessage));
    return tray_->registered();
}

int Win32Ui::run() {
    if (whenRunning_) {
        serveWaiting();
        std::exchange(whenRunning_, {})();
    }
    MSG message;
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (got == -1) return 1;
        dispatch(message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace tarnwk::win32
