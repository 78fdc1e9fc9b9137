// Drives the real tarnwk.exe from outside, as a user would: start, a second
// start, a quick scan, a finding marked and quarantined, an update of the
// definitions, Start along with Windows, Exit from the tray menu. Prints the
// times it measured; with a folder argument it also saves pictures of the
// main window's tabs and the scan window. Usage:
// windows_journey TARNWK_EXE [SCREENSHOT_FOLDER]
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// The first failure ends the journey: what follows would only fail with it.
void require(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    std::fflush(stdout);
    if (!ok) std::exit(1);
}

DWORD program = 0;

// The program's first visible top-level window with the given class and
// caption (null: any).
HWND visibleTop(const wchar_t* type, const wchar_t* text) {
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, type, text));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == program && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

// Whether exactly one top-level window of any program has the class and caption.
bool one(const wchar_t* type, const wchar_t* text) {
    const HWND first = FindWindowW(type, text);
    return first && !FindWindowExW(nullptr, first, type, text);
}

// The program's message boxes are answered while the journey waits: Yes to
// a question, OK otherwise. Their texts are kept.
std::vector<std::wstring> boxes;

bool saw(const std::wstring& text) {
    return std::find(boxes.begin(), boxes.end(), text) != boxes.end();
}

bool waitFor(const std::function<bool()>& done, int ms) {
    for (const auto until = Clock::now() + std::chrono::milliseconds(ms); !done();) {
        if (Clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        HWND box = visibleTop(L"#32770", L"Tarnwick");
        if (!box) continue;
        wchar_t text[512] = L"";
        GetDlgItemTextW(box, 0xFFFF, text, 512);
        std::printf("message box: %ls\n", text);
        boxes.emplace_back(text);
        PostMessageW(box, WM_COMMAND, GetDlgItem(box, IDYES) ? IDYES : IDOK, 0);
        for (int i = 0; i < 150 && IsWindowVisible(box); ++i) Sleep(20);
    }
    return true;
}

void eventually(const char* what, int ms, const std::function<bool()>& done) {
    require(waitFor(done, ms), what);
}

// Every control is a child of its form's window.
HWND child(HWND form, const wchar_t* type, const wchar_t* text = nullptr) {
    return FindWindowExW(form, nullptr, type, text);
}

PROCESS_INFORMATION start(const std::wstring& exe) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + exe + L"\"";
    const std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
    CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                   &startup, &process);
    return process;
}

// Saves the client area as the screen shows it (without a window manager
// the frame is not drawn) as a 24-bit bitmap.
void screenshot(HWND window, const std::wstring& path) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    RECT rect{};
    GetClientRect(window, &rect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    BITMAPINFOHEADER info{sizeof info, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                      &bits, nullptr, 0);
    SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const DWORD header = sizeof(BITMAPFILEHEADER) + sizeof info;
    const DWORD size = ((width * 3 + 3) & ~3) * height;
    const BITMAPFILEHEADER file{0x4D42, header + size, 0, 0, header};
    std::ofstream(std::filesystem::path(path), std::ios::binary)
        .write(reinterpret_cast<const char*>(&file), sizeof file)
        .write(reinterpret_cast<const char*>(&info), sizeof info)
        .write(static_cast<const char*>(bits), size);
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
}

LRESULT send(HWND window, UINT message, WPARAM w = 0, LPARAM l = 0) {
    return SendMessageW(window, message, w, l);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const std::wstring exe = argv[1], pictures = argc > 2 ? argv[2] : L"";

    // Start: the main window comes up once the definitions are loaded.
    const auto started = Clock::now();
    const PROCESS_INFORMATION first = start(exe);
    program = first.dwProcessId;
    HWND main = nullptr;
    eventually("the main window is shown", 30000,
               [&] { return (main = visibleTop(nullptr, L"Tarnwick 1.1")); });
    std::printf("start-up: %lld ms to the main window\n", (Clock::now() - started) / 1ms);
    eventually("the splash closes", 10000, [&] { return !visibleTop(L"TarnwickForm", L""); });

    // A second start while only the tray icon shows finds the first one.
    PostMessageW(main, WM_CLOSE, 0, 0);
    eventually("closing hides the main window", 5000, [&] { return !IsWindowVisible(main); });
    require(WaitForSingleObject(start(exe).hProcess, 10000) == WAIT_OBJECT_0,
            "a second start ends within seconds");
    eventually("the first instance's main window is visible again", 5000,
               [&] { return IsWindowVisible(main); });
    require(one(L"TarnwickTray", nullptr) && one(L"ThunderRT6Main", L"Tarnwick"),
            "one tray icon window, one application window answering to the title");

    HWND tabs = child(main, L"SysTabControl32");
    // To a tab with the arrow keys, as a user would.
    auto toTab = [&](int tab) {
        for (LRESULT at; (at = send(tabs, TCM_GETCURSEL)) != tab;) {
            PostMessageW(tabs, WM_KEYDOWN, at < tab ? VK_RIGHT : VK_LEFT, 0);
            eventually("the next tab is selected", 3000,
                       [&] { return send(tabs, TCM_GETCURSEL) != at; });
        }
    };
    auto click = [](HWND button) { PostMessageW(button, BM_CLICK, 0, 0); };
    auto tick = [&](const wchar_t* caption, const char* what) {
        HWND box = child(main, L"Button", caption);
        click(box);
        eventually(what, 3000, [&] { return send(box, BM_GETCHECK) == BST_CHECKED; });
    };
    int tab = 0;
    for (const wchar_t* name :
         {L"status", L"scan", L"quarantine", L"updates", L"settings", L"about"})
        if (!pictures.empty()) {
            toTab(tab++);
            screenshot(main, pictures + L"\\windows-main-" + name + L".bmp");
        }

    // A quick scan finds the planted file; it is marked and quarantined.
    toTab(1);
    tick(L"Quick Scan", "Quick Scan is chosen");
    const auto scanStarted = Clock::now();
    click(child(main, L"Button", L"&Scan Now"));
    HWND scan = nullptr;
    eventually("the scan completes", 300000,
               [&] { return (scan = visibleTop(nullptr, L"Scan Complete")); });
    std::printf("quick scan: %lld ms\n", (Clock::now() - scanStarted) / 1ms);
    HWND found = child(scan, L"ListBox");
    const auto findings = send(found, LB_GETCOUNT);
    require(findings >= 1, "the planted file is found");
    if (!pictures.empty()) screenshot(scan, pictures + L"\\windows-scan-complete.bmp");
    const LPARAM firstRow = MAKELPARAM(6, send(found, LB_GETITEMHEIGHT) / 2);
    PostMessageW(found, WM_LBUTTONDOWN, MK_LBUTTON, firstRow);
    PostMessageW(found, WM_LBUTTONUP, 0, firstRow);
    eventually("the finding is marked", 3000, [&] { return send(found, LB_GETSEL) > 0; });
    click(child(scan, L"Button", L"&Quarantine"));
    eventually("the moved finding leaves the list", 15000,
               [&] { return send(found, LB_GETCOUNT) == findings - 1; });
    click(child(scan, L"Button", L"&Exit"));
    eventually("Exit closes the scan window and shows the main window", 5000,
               [&] { return !IsWindow(scan) && IsWindowVisible(main); });

    // Newer definitions from the maker's server (the script serves them),
    // after the offer of the newer program.
    toTab(3);
    click(child(main, L"Button", L"&Check Now"));
    eventually("the newer definitions are downloaded", 30000, [] {
        return saw(L"Adware definitions updated successfully. Please restart the application");
    });
    require(saw(L"A newer version of Tarnwick is available!. Do you wish to get the download?"),
            "the download was offered first");

    // Start along with Windows, saved (the script reads the registry).
    toTab(4);
    tick(L"Start along with Windows", "Start along with Windows is ticked");
    click(child(main, L"Button", L"&Save Settings"));
    waitFor([] { return false; }, 500);

    // Exit, the tray menu's third item, and OK to the question.
    PostMessageW(FindWindowExW(nullptr, nullptr, L"TarnwickTray", nullptr), WM_APP + 10, 1,
                 WM_RBUTTONUP);
    HWND menu = nullptr;
    eventually("the tray menu opens", 5000,
               [&] { return (menu = visibleTop(L"#32768", nullptr)); });
    for (int i = 0; i < 3; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    eventually("the program ends", 15000,
               [&] { return WaitForSingleObject(first.hProcess, 0) == WAIT_OBJECT_0; });
    DWORD code = 1;
    GetExitCodeProcess(first.hProcess, &code);
    require(saw(L"Do you wish to end the application?") && code == 0,
            "Exit asked first, and the program ended cleanly");
    return 0;
}
