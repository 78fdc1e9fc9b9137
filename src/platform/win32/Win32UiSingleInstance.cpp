#include "platform/win32/Win32UiSingleInstance.h"

#include <sddl.h>

#include <thread>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Ui.h"

namespace tarnwk::win32 {

namespace {

// The user's security identifier as text, so each user has a mutex of their own.
std::wstring userSid() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return L"user";
    std::wstring result = L"user";
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::string buffer(size, '\0');
    if (size && GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
        wchar_t* text = nullptr;
        if (ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
            result = text;
            LocalFree(text);
        }
    }
    CloseHandle(token);
    return result;
}

}  // namespace

Win32SingleInstance::Win32SingleInstance(HWND applicationWindow, std::string title,
                                         std::string mainCaption)
    : appWindow_(applicationWindow),
      title_(std::move(title)),
      mainCaption_(std::move(mainCaption)) {}

Win32SingleInstance::~Win32SingleInstance() {
    if (mutex_) CloseHandle(mutex_);
}

std::wstring Win32SingleInstance::mutexName(std::wstring_view title) {
    return L"Local\\" + std::wstring(title) + L".SingleInstance." + userSid();
}

bool Win32SingleInstance::claim() {
    if (mutex_) return true;
    HANDLE mutex = CreateMutexW(nullptr, FALSE, mutexName(toWide(title_)).c_str());
    const DWORD error = GetLastError();
    if (!mutex) return true;  // no way to tell: run rather than refuse to start
    if (error == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    // Held to the end of the process; an instance that crashed leaves none.
    mutex_ = mutex;
    return true;
}

bool Win32SingleInstance::activateRunning() {
    // This instance's window no longer answers to the title, so the search
    // finds only the running one's.
    if (appWindow_) SetWindowTextW(appWindow_, L"unwanted instance");
    const std::wstring title = toWide(title_);
    HWND running = nullptr;
    const auto until = std::chrono::steady_clock::now() + kFindWindowFor;
    while (!(running = FindWindowW(Win32Ui::kApplicationWindowClass, title.c_str())) &&
           std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!running) return false;
    if (HWND front = GetWindow(running, GW_HWNDPREV)) {
        OpenIcon(front);
        SetForegroundWindow(front);
    }
    if (HWND main = FindWindowW(nullptr, toWide(mainCaption_).c_str())) ShowWindow(main, SW_SHOW);
    return true;
}

}  // namespace tarnwk::win32
