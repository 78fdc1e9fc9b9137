// Drives the real tarnwk.exe from outside, as a user would: start, a second
// start, the Scan tab, a quick scan, a finding marked and quarantined, an
// update of the definitions, Exit from the tray menu. Prints the times it measured; with a folder
// argument it also saves pictures of the main window's tabs and the scan window. Usage:
// windows_journey TARNWK_EXE [SCREENSHOT_FOLDER]
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

int failures = 0;

void check(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    std::fflush(stdout);
    if (!ok) ++failures;
}

bool waitFor(const std::function<bool()>& done, int ms) {
    const auto until = Clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (Clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

long long msSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

std::wstring textOf(HWND window) {
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, 512);
    return text;
}

std::wstring classOf(HWND window) {
    wchar_t name[128] = L"";
    GetClassNameW(window, name, 128);
    return name;
}

// Top-level windows of a process with the given class and/or caption.
std::vector<HWND> topWindows(DWORD process, const wchar_t* type, const wchar_t* caption) {
    struct Search {
        DWORD process;
        const wchar_t* type;
        const wchar_t* caption;
        std::vector<HWND> found;
    } search{process, type, caption, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if ((s.process == 0 || owner == s.process) && (!s.type || classOf(window) == s.type) &&
                (!s.caption || textOf(window) == s.caption))
                s.found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND visibleTop(DWORD process, const wchar_t* type, const wchar_t* caption) {
    for (HWND window : topWindows(process, type, caption))
        if (IsWindowVisible(window)) return window;
    return nullptr;
}

HWND child(HWND parent, const wchar_t* type, const wchar_t* text = nullptr) {
    struct Search {
        const wchar_t* type;
        const wchar_t* text;
        HWND found;
    } search{type, text, nullptr};
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            if (classOf(window) == s.type && (!s.text || textOf(window) == s.text)) {
                s.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

PROCESS_INFORMATION start(const std::wstring& exe) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + exe + L"\"";
    const std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
    CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                   &startup, &process);
    return process;
}

// Answers the program's message boxes with OK and keeps their texts.
class BoxAnswerer {
public:
    explicit BoxAnswerer(DWORD process) : process_(process), thread_([this] { run(); }) {}
    ~BoxAnswerer() {
        stop_ = true;
        thread_.join();
    }
    bool saw(const std::wstring& text) {
        std::lock_guard lock(mutex_);
        for (const auto& seen : seen_)
            if (seen == text) return true;
        return false;
    }

private:
    void run() {
        while (!stop_) {
            if (HWND box = visibleTop(process_, L"#32770", L"Tarnwick")) {
                wchar_t text[512] = L"";
                GetDlgItemTextW(box, 0xFFFF, text, 512);
                {
                    std::lock_guard lock(mutex_);
                    seen_.emplace_back(text);
                }
                std::printf("message box: %ls\n", text);
                // Yes to a question (the newer definitions), OK otherwise.
                PostMessageW(box, WM_COMMAND, GetDlgItem(box, IDYES) ? IDYES : IDOK, 0);
                waitFor([box] { return !IsWindow(box) || !IsWindowVisible(box); }, 3000);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
        }
    }

    DWORD process_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<std::wstring> seen_;
    std::thread thread_;
};

// Saves what the screen shows of a window as a 24-bit bitmap.
void screenshot(HWND window, const std::wstring& path) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    // The client area: without a window manager the frame is not drawn.
    RECT rect{};
    GetClientRect(window, &rect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    const DWORD stride = ((width * 3 + 3) & ~3), size = stride * height;
    BITMAPFILEHEADER file{
        0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0,
        0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    if (FILE* out = _wfopen(path.c_str(), L"wb")) {
        std::fwrite(&file, sizeof(file), 1, out);
        std::fwrite(&info.bmiHeader, sizeof(BITMAPINFOHEADER), 1, out);
        std::fwrite(bits, size, 1, out);
        std::fclose(out);
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

void click(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const std::wstring exe = argv[1];
    const std::wstring pictures = argc > 2 ? argv[2] : L"";
    const wchar_t* mainCaption = L"Tarnwick 1.1";

    // Start: the main window comes up once the definitions are loaded.
    const auto started = Clock::now();
    PROCESS_INFORMATION first = start(exe);
    check(first.hProcess != nullptr, "tarnwk.exe starts");
    if (!first.hProcess) return 1;
    BoxAnswerer boxes(first.dwProcessId);
    HWND main = nullptr;
    check(waitFor([&] { return (main = visibleTop(first.dwProcessId, nullptr, mainCaption)); },
                  30000),
          "the main window is shown");
    if (!main) return 1;
    std::printf("start-up: %lld ms to the main window\n", msSince(started));
    check(waitFor([&] { return !visibleTop(first.dwProcessId, L"TarnwickForm", L""); }, 10000),
          "the splash closes");

    // A second start while only the tray icon shows.
    PostMessageW(main, WM_CLOSE, 0, 0);
    check(waitFor([&] { return !IsWindowVisible(main); }, 5000), "closing hides the main window");
    const auto secondStarted = Clock::now();
    PROCESS_INFORMATION second = start(exe);
    check(WaitForSingleObject(second.hProcess, 10000) == WAIT_OBJECT_0,
          "a second start ends within seconds");
    std::printf("second start: ended after %lld ms\n", msSince(secondStarted));
    check(waitFor([&] { return IsWindowVisible(main) != FALSE; }, 5000),
          "the first instance's main window is visible again");
    check(topWindows(0, L"TarnwickTray", nullptr).size() == 1, "one tray icon window");
    check(topWindows(0, L"ThunderRT6Main", L"Tarnwick").size() == 1,
          "one application window answers to the title");

    HWND tabs = child(main, L"SysTabControl32");
    if (!pictures.empty()) {
        const wchar_t* names[] = {L"status",  L"scan",     L"quarantine",
                                  L"updates", L"settings", L"about"};
        for (int tab = 0; tab < 6; ++tab) {
            waitFor([&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == tab; }, 2000);
            screenshot(main, pictures + L"\\windows-main-" + names[tab] + L".bmp");
            if (tab < 5) PostMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
        }
        for (int tab = 5; tab > 0; --tab) PostMessageW(tabs, WM_KEYDOWN, VK_LEFT, 0);
        waitFor([&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == 0; }, 2000);
    }

    // The Scan tab, a quick scan.
    PostMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
    check(waitFor([&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == 1; }, 3000),
          "the Scan tab is selected");
    HWND quick = child(main, L"Button", L"Quick Scan");
    click(quick);
    check(waitFor([&] { return SendMessageW(quick, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 3000),
          "Quick Scan is chosen");
    const auto scanStarted = Clock::now();
    click(child(main, L"Button", L"&Scan Now"));
    HWND scan = nullptr;
    check(waitFor([&] { return (scan = visibleTop(first.dwProcessId, nullptr, L"Scan Complete")); },
                  300000),
          "the scan completes");
    if (!scan) return 1;
    std::printf("quick scan: %lld ms\n", msSince(scanStarted));
    HWND found = child(scan, L"ListBox");
    const auto findings = SendMessageW(found, LB_GETCOUNT, 0, 0);
    std::printf("findings: %lld\n", static_cast<long long>(findings));
    check(findings >= 1, "the planted file is found");
    if (!pictures.empty()) screenshot(scan, pictures + L"\\windows-scan-complete.bmp");

    // Mark the first finding and quarantine it.
    const auto rowHeight = SendMessageW(found, LB_GETITEMHEIGHT, 0, 0);
    PostMessageW(found, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, rowHeight / 2));
    PostMessageW(found, WM_LBUTTONUP, 0, MAKELPARAM(6, rowHeight / 2));
    check(waitFor([&] { return SendMessageW(found, LB_GETSEL, 0, 0) > 0; }, 3000),
          "the finding is marked");
    click(child(scan, L"Button", L"&Quarantine"));
    check(waitFor([&] { return SendMessageW(found, LB_GETCOUNT, 0, 0) == findings - 1; }, 15000),
          "the moved finding leaves the list");
    click(child(scan, L"Button", L"&Exit"));
    check(waitFor([&] { return !IsWindow(scan) && IsWindowVisible(main); }, 5000),
          "Exit closes the scan window and shows the main window");

    // Newer definitions from the maker's server (the script serves them):
    // Check Now on the Updates tab, Yes, and the new file is in place.
    PostMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
    PostMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
    check(waitFor([&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == 3; }, 3000),
          "the Updates tab is selected");
    click(child(main, L"Button", L"&Check Now"));
    check(waitFor(
              [&] {
                  return boxes.saw(
                      L"Adware definitions updated successfully. Please restart the "
                      L"application");
              },
              30000),
          "the newer definitions are downloaded");
    check(boxes.saw(L"A newer version of Tarnwick is available!. Do you wish to get the download?"),
          "the download was offered first");

    // Start along with Windows, saved.
    PostMessageW(tabs, WM_KEYDOWN, VK_RIGHT, 0);
    check(waitFor([&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == 4; }, 3000),
          "the Settings tab is selected");
    HWND autorun = child(main, L"Button", L"Start along with Windows");
    click(autorun);
    check(waitFor([&] { return SendMessageW(autorun, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 3000),
          "Start along with Windows is ticked");
    click(child(main, L"Button", L"&Save Settings"));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));

    // Exit from the tray menu: its third item, then OK.
    HWND tray = topWindows(first.dwProcessId, L"TarnwickTray", nullptr).front();
    PostMessageW(tray, WM_APP + 10, 1, WM_RBUTTONUP);
    HWND menu = nullptr;
    check(waitFor([&] { return (menu = visibleTop(first.dwProcessId, L"#32768", nullptr)); }, 5000),
          "the tray menu opens");
    for (int i = 0; i < 3; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    check(WaitForSingleObject(first.hProcess, 15000) == WAIT_OBJECT_0, "the program ends");
    check(boxes.saw(L"Do you wish to end the application?"), "Exit asked first");
    DWORD code = 1;
    GetExitCodeProcess(first.hProcess, &code);
    check(code == 0, "it ends cleanly");
    return failures == 0 ? 0 : 1;
}
