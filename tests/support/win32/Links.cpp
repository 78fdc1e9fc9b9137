#include "support/Links.h"

#include <windows.h>
#include <winioctl.h>

#include <functional>
#include <stdexcept>
#include <vector>

#include "platform/win32/LongPath.h"
#include "platform/win32/NtFiles.h"
#include "platform/win32/WideText.h"

namespace tarnwk::test {
namespace {

// REPARSE_DATA_BUFFER for a mount point, which the user-mode headers lack.
struct MountPointData {
    DWORD tag;
    WORD dataLength;
    WORD reserved;
    WORD substituteOffset;
    WORD substituteLength;
    WORD printOffset;
    WORD printLength;
    wchar_t paths[1];
};

bool makeJunction(const std::wstring& target, const std::wstring& link) {
    if (!CreateDirectoryW(link.c_str(), nullptr)) return false;
    win32::Handle folder(CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                     nullptr));
    const std::wstring substitute = L"\\??\\" + target.substr(4);  // from the \\?\ form
    const std::size_t bytes = (substitute.size() + 1) * sizeof(wchar_t) * 2;
    std::vector<unsigned char> buffer(offsetof(MountPointData, paths) + bytes);
    auto* data = reinterpret_cast<MountPointData*>(buffer.data());
    data->tag = IO_REPARSE_TAG_MOUNT_POINT;
    data->dataLength = static_cast<WORD>(buffer.size() - 8);
    data->substituteLength = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
    data->printOffset = static_cast<WORD>(data->substituteLength + sizeof(wchar_t));
    std::copy(substitute.begin(), substitute.end(), data->paths);
    DWORD returned = 0;
    const bool made = folder && DeviceIoControl(folder.get(), FSCTL_SET_REPARSE_POINT,
                                                buffer.data(), static_cast<DWORD>(buffer.size()),
                                                nullptr, 0, &returned, nullptr);
    if (!made) {
        folder.reset();
        RemoveDirectoryW(link.c_str());
    }
    return made;
}

// Under wine, which cannot make reparse points: the host's own symbolic
// link, made by the host's ln.
std::string hostPath(const std::wstring& path) {
    using Convert = char*(CDECL*)(const wchar_t*);
    const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    char* host = convert ? convert(path.c_str()) : nullptr;
    if (!host) return {};
    std::string text = host;
    HeapFree(GetProcessHeap(), 0, host);
    return text;
}

// Runs one of the host's programs on host paths; true once `done` holds
// (wine does not wait for the host's programs).
bool runOnHost(const wchar_t* program, const std::wstring& arguments,
               const std::function<bool()>& done) {
    std::wstring command = std::wstring(program) + L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (int i = 0; i < 500 && !done(); ++i) Sleep(10);
    return done();
}

std::wstring quoted(const std::string& hostPath) {
    return L"\"" + win32::toWide(hostPath) + L"\"";
}

bool hostLink(const std::wstring& target, const std::wstring& link) {
    const std::string from = hostPath(target);
    const std::string to = hostPath(link);
    if (from.empty() || to.empty()) return false;
    return runOnHost(L"Z:\\bin\\ln", L"-s " + quoted(from) + L" " + quoted(to),
                     [&] { return GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES; });
}

}  // namespace

void removeHostTree(const std::wstring& folder) {
    const std::string host = hostPath(folder);
    if (!host.empty())
        runOnHost(L"Z:\\bin\\rm", L"-rf " + quoted(host),
                  [&] { return GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES; });
}

void linkFolder(const std::string& target, const std::string& link) {
    const std::wstring from = win32::extendedPath(target);
    const std::wstring to = win32::extendedPath(link);
    if (!makeJunction(from, to) && !hostLink(from, to))
        throw std::runtime_error("cannot link " + link);
}

bool linkFile(const std::string& target, const std::string& link) {
    const std::wstring from = win32::extendedPath(target);
    const std::wstring to = win32::extendedPath(link);
    // Wine shows the host's links to files as plain files: no link is made
    // where the system could not tell it for one.
    if (!CreateSymbolicLinkW(to.c_str(), from.c_str(),
                             SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE))
        return false;
    const DWORD attributes = GetFileAttributesW(to.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace tarnwk::test
