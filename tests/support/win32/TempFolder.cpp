// Temporary folders, and the links tests make in them, on Windows. Wine
// cannot make reparse points: there the links are the host's own, made and
// removed by the host's programs.
#include "support/TempFolder.h"

#include <windows.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>

#include "platform/win32/LongPath.h"
#include "platform/win32/WideText.h"
#include "support/Links.h"
#include "support/NativePath.h"

namespace tarnwk::test {
namespace {

using win32::extendedPath;

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Runs a program of the host on the host's names of `paths`; true once
// `done` holds (wine does not wait for the host's programs), false where
// wine does not run.
bool runOnHost(const wchar_t* program, const wchar_t* options,
               std::initializer_list<std::wstring> paths, const std::function<bool()>& done) {
    using Convert = char*(CDECL*)(const wchar_t*);
    const auto hostName = reinterpret_cast<Convert>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    std::wstring command = std::wstring(program) + L" " + options;
    for (const std::wstring& path : paths) {
        char* host = hostName ? hostName(path.c_str()) : nullptr;
        if (!host) return false;
        command += L" \"" + win32::toWide(host) + L"\"";
        HeapFree(GetProcessHeap(), 0, host);
    }
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

// Empties `folder` (\\?\ form) and removes it; links are removed, never
// followed, and read-only entries lose the attribute first.
void removeTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &entry)) {
        const std::wstring name = entry.cFileName, path = folder + L"\\" + name;
        if (name == L"." || name == L"..") continue;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if ((entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ==
            FILE_ATTRIBUTE_DIRECTORY)
            removeTree(path);
        else if (!RemoveDirectoryW(path.c_str()))
            DeleteFileW(path.c_str());  // a file, or wine's view of a host link
    }
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    RemoveDirectoryW(folder.c_str());
}

// A symbolic link the system shows as one (wine only pretends to make them).
bool symbolicLink(const std::string& target, const std::string& link, DWORD flags) {
    const std::wstring to = extendedPath(link);
    CreateSymbolicLinkW(to.c_str(), extendedPath(target).c_str(),
                        flags | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    return exists(to) && (GetFileAttributesW(to.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

TempFolder::TempFolder() {
    // The long form of the name: the walk reports paths in it.
    std::wstring base(32768, L'\0');
    base.resize(GetLongPathNameW(std::filesystem::temp_directory_path().c_str(), base.data(),
                                 static_cast<DWORD>(base.size())));
    static unsigned counter = 0;
    const std::string prefix = "tarnwk-test-" + std::to_string(GetCurrentProcessId()) + "-";
    std::filesystem::path folder;
    // One that an earlier process of the same id left behind is passed over.
    do folder = std::filesystem::path(base) / (prefix + std::to_string(++counter));
    while (!std::filesystem::create_directory(folder));
    path_ = win32::toUtf8(folder.wstring());
}

TempFolder::~TempFolder() {
    const std::wstring folder = extendedPath(path_);
    removeTree(folder);
    // Wine removes the host's links to folders only through the host.
    if (exists(folder))
        runOnHost(L"Z:\\bin\\rm", L"-rf", {folder}, [&] { return !exists(folder); });
}

std::string TempFolder::operator/(std::string_view relative) const {
    return path_ + "\\" + nativePath(std::string(relative));
}

std::string TempFolder::writeFile(std::string_view relative, std::string_view content) const {
    const std::string full = *this / relative;
    const std::wstring target = extendedPath(full);
    std::filesystem::create_directories(std::filesystem::path(target).parent_path());
    std::ofstream out(std::filesystem::path(target), std::ios::binary);
    if (!out.write(content.data(), static_cast<std::streamsize>(content.size())).flush())
        throw std::runtime_error("cannot write " + full);
    return full;
}

std::string TempFolder::makeFolder(std::string_view relative) const {
    const std::string full = *this / relative;
    std::filesystem::create_directories(std::filesystem::path(extendedPath(full)));
    return full;
}

std::string readWholeFile(const std::string& path) {
    std::ifstream in(std::filesystem::path(extendedPath(path)), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void linkFolder(const std::string& target, const std::string& link) {
    const std::wstring to = extendedPath(link);
    if (!symbolicLink(target, link, SYMBOLIC_LINK_FLAG_DIRECTORY) &&
        !runOnHost(L"Z:\\bin\\ln", L"-s", {extendedPath(target), to}, [&] { return exists(to); }))
        throw std::runtime_error("cannot link " + link);
}

bool linkFile(const std::string& target, const std::string& link) {
    // Wine shows the host's links to files as the files: none is made there.
    return symbolicLink(target, link, 0);
}

}  // namespace tarnwk::test
