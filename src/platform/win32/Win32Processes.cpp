#include "platform/win32/Win32Processes.h"

#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include "platform/win32/NtFiles.h"
#include "platform/win32/WideText.h"

namespace tarnwk::win32 {
namespace {

std::optional<std::string> programPath(DWORD id) {
    // A process that cannot be opened is listed without a path.
    Handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (!process) return std::nullopt;
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD size = static_cast<DWORD>(path.size());
        if (QueryFullProcessImageNameW(process.get(), 0, path.data(), &size)) {
            path.resize(size);
            return toUtf8(path);
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || path.size() >= 32768)
            return std::nullopt;
        path.resize(path.size() * 2);
    }
}

// Enables or disables SeDebugPrivilege in our own token; false when the
// account does not hold it.
bool setDebugPrivilege(HANDLE token, bool enabled) {
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    if (!LookupPrivilegeValueW(nullptr, SE_DEBUG_NAME, &privileges.Privileges[0].Luid))
        return false;
    privileges.Privileges[0].Attributes = enabled ? SE_PRIVILEGE_ENABLED : 0;
    return AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
           GetLastError() == ERROR_SUCCESS;
}

}  // namespace

std::vector<platform::ProcessInfo> Win32Processes::list() {
    std::vector<platform::ProcessInfo> processes;
    Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return processes;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == 0) continue;  // the idle process
        processes.push_back({entry.th32ProcessID, programPath(entry.th32ProcessID)});
    }
    return processes;
}

std::int64_t Win32Processes::ownId() {
    return GetCurrentProcessId();
}

bool Win32Processes::terminate(std::int64_t id) {
    if (id <= 0 || id > 0xFFFFFFFFLL || id == ownId()) return false;
    HANDLE rawToken = nullptr;
    const bool haveToken =
        OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &rawToken);
    const Handle token(haveToken ? rawToken : nullptr);
    const bool raised = token && setDebugPrivilege(token.get(), true);
    bool ended = false;
    if (Handle process(OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(id))); process)
        ended = TerminateProcess(process.get(), 0) != 0;
    // Held only for the call.
    if (raised) setDebugPrivilege(token.get(), false);
    return ended;
}

}  // namespace tarnwk::win32
