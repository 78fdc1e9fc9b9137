#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <atomic>

#include "platform/PathText.h"
#include "platform/win32/LongPath.h"
#include "platform/win32/NtFiles.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Drives.h"
#include "platform/win32/Win32Folder.h"

namespace tarnwk::win32 {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool writeAll(HANDLE file, std::string_view content) {
    while (!content.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size(), 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, content.data(), chunk, &written, nullptr) || written == 0)
            return false;
        content.remove_prefix(written);
    }
    return true;
}

// The folder part of an extended path, or empty at a root.
std::wstring parentOf(const std::wstring& path) {
    const auto separator = path.rfind(L'\\');
    if (separator == std::wstring::npos || separator < rootLength(path)) return {};
    return path.substr(0, std::max(separator, rootLength(path)));
}

bool isFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A path the user reads: without the \\?\ prefix the system may report.
std::string plainPath(std::wstring path) {
    if (path.starts_with(L"\\\\?\\UNC\\"))
        path = L"\\" + path.substr(7);
    else if (path.starts_with(L"\\\\?\\"))
        path = path.substr(4);
    return toUtf8(path);
}

}  // namespace

std::unique_ptr<platform::Folder> Win32FileSystem::openFolder(const std::string& path) {
    return openFolderAt(path);
}

std::string Win32FileSystem::fullPath(const std::string& path) {
    return toUtf8(fullWidePath(path));
}

std::size_t Win32FileSystem::openFolderBudget() {
    // Handles are plentiful on Windows; the bound keeps a deep walk's memory
    // in check.
    return 1024;
}

std::vector<platform::Drive> Win32FileSystem::driveList() {
    return drivesToScan(logicalDrives(), driveHasMedium);
}

std::string Win32FileSystem::quickScanFolder() {
    std::wstring folder(MAX_PATH, L'\0');
    UINT length = GetWindowsDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    if (length >= folder.size()) {
        folder.resize(length);
        length = GetWindowsDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    }
    folder.resize(length < folder.size() ? length : 0);
    return toUtf8(folder);
}

std::string Win32FileSystem::executablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return plainPath(path);
        }
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
}

platform::ProgramFolders Win32FileSystem::programFolders() {
    const std::string exe = executablePath();
    const std::string folder(parentFolder(exe));
    return {folder, joinPath(folder, "ref.dat")};
}

platform::FileLength Win32FileSystem::fileLength(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(extendedPath(path).c_str(), GetFileExInfoStandard, &data)) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
            error == ERROR_INVALID_NAME)
            return {platform::LengthStatus::NotFound, 0, {}};
        return {platform::LengthStatus::Failed, 0, errorText(error)};
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return {platform::LengthStatus::Failed, 0, errorText(ERROR_DIRECTORY)};
    return {platform::LengthStatus::Ok,
            (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
            {}};
}

std::optional<std::string> Win32FileSystem::readFile(const std::string& path) {
    Handle file(CreateFileW(extendedPath(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return std::nullopt;
    std::string content;
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return std::nullopt;
        if (got == 0) return content;
        content.append(buffer, got);
    }
}

bool Win32FileSystem::writeFile(const std::string& path, std::string_view content) {
    const std::wstring target = extendedPath(path);
    const std::wstring folder = parentOf(target);
    if (folder.empty()) return false;
    static std::atomic<unsigned> counter{0};
    const std::wstring name = target.substr(target.rfind(L'\\') + 1);
    const std::wstring temporary = folder + L"\\." + name + L".tarnwick-" +
                                   std::to_wstring(GetCurrentProcessId()) + L"-" +
                                   std::to_wstring(counter++);
    Handle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const bool written = writeAll(file.get(), content) && FlushFileBuffers(file.get());
    file.reset();
    // The new content takes the name whole, or not at all.
    if (written && MoveFileExW(temporary.c_str(), target.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}

bool Win32FileSystem::removeFile(const std::string& path) {
    const std::wstring target = extendedPath(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    if (DeleteFileW(target.c_str())) return true;
    if (!(attributes & FILE_ATTRIBUTE_READONLY)) return false;
    return SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY) &&
           DeleteFileW(target.c_str());
}

bool Win32FileSystem::createFolder(const std::string& path) {
    const std::wstring target = extendedPath(path);
    if (target.empty()) return false;
    // Each missing folder from the root down; one that exists is fine.
    for (auto separator = target.find(L'\\', rootLength(target)); separator != std::wstring::npos;
         separator = target.find(L'\\', separator + 1))
        CreateDirectoryW(target.substr(0, separator).c_str(), nullptr);
    CreateDirectoryW(target.c_str(), nullptr);
    return isFolder(target);
}

}  // namespace tarnwk::win32
