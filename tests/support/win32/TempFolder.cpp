#include "support/TempFolder.h"

#include <windows.h>

#include <stdexcept>

#include "platform/win32/LongPath.h"
#include "platform/win32/NtFiles.h"
#include "platform/win32/WideText.h"
#include "support/NativePath.h"

namespace tarnwk::test {

// Removes `folder` and all in it through the host's rm, under wine (in
// Links.cpp, with the other calls of the host).
void removeHostTree(const std::wstring& folder);

namespace {

using win32::toUtf8;
using win32::toWide;

// Empties `folder` (\\?\ form) and removes it; links are removed, never
// followed, and read-only entries lose the attribute first.
void removeTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &entry,
                                           FindExSearchNameMatch, nullptr, 0);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), entry.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY &
                                                 ~FILE_ATTRIBUTE_HIDDEN & ~FILE_ATTRIBUTE_SYSTEM);
            const bool isFolder = entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
            if (isFolder && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                removeTree(path);
            else if (isFolder && !RemoveDirectoryW(path.c_str()))
                DeleteFileW(path.c_str());  // wine's view of a host link
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

void makeFolders(const std::wstring& folder) {
    for (auto at = folder.find(L'\\', win32::rootLength(folder)); at != std::wstring::npos;
         at = folder.find(L'\\', at + 1))
        CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
}

}  // namespace

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, base);
    if (length == 0 || length > MAX_PATH) throw std::runtime_error("no temporary folder");
    std::wstring longBase(32768, L'\0');
    const DWORD longLength =
        GetLongPathNameW(base, longBase.data(), static_cast<DWORD>(longBase.size()));
    longBase.resize(longLength ? longLength : 0);
    if (longBase.empty()) longBase = base;
    if (longBase.back() != L'\\') longBase += L'\\';
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring candidate = longBase + L"tarnwk-test-" +
                                       std::to_wstring(GetCurrentProcessId()) + L"-" +
                                       std::to_wstring(++counter);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = toUtf8(candidate);
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
    const std::wstring folder = win32::extendedPath(path_);
    removeTree(folder);
    // Wine removes the host's links to folders only through the host.
    if (GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES) removeHostTree(folder);
}

std::string TempFolder::operator/(std::string_view relative) const {
    return path_ + "\\" + nativePath(std::string(relative));
}

std::string TempFolder::writeFile(std::string_view relative, std::string_view content) const {
    const std::string full = *this / relative;
    const std::wstring target = win32::extendedPath(full);
    makeFolders(target.substr(0, target.rfind(L'\\')));
    const win32::Handle file(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file ||
        !WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written,
                   nullptr) ||
        written != content.size())
        throw std::runtime_error("cannot write " + full);
    return full;
}

std::string TempFolder::makeFolder(std::string_view relative) const {
    const std::string full = *this / relative;
    makeFolders(win32::extendedPath(full));
    return full;
}

std::string readWholeFile(const std::string& path) {
    const win32::Handle file(CreateFileW(win32::extendedPath(path).c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, 0, nullptr));
    std::string content;
    char buffer[65536];
    DWORD got = 0;
    while (file && ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got)
        content.append(buffer, got);
    return content;
}

}  // namespace tarnwk::test
