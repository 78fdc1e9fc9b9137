#include "platform/win32/Win32Folder.h"

#include <atomic>
#include <string>
#include <vector>

#include "platform/win32/LongPath.h"
#include "platform/win32/WideText.h"

namespace tarnwk::win32 {
namespace {

constexpr ACCESS_MASK kFolderAccess = FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | FILE_TRAVERSE;

platform::FileId idOf(const HandleInfo& info) {
    return {info.volume, info.index};
}

// The folder still lists `name` as the object `opened` is, and neither is a
// reparse point.
bool listedAs(HANDLE folder, std::wstring_view name, const HandleInfo& opened, bool wantFolder) {
    if (isReparsePoint(opened.attributes)) return false;
    const auto entry = entryInFolder(folder, name);
    if (!entry || isReparsePoint(entry->attributes)) return false;
    const bool isFolder = (entry->attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (isFolder != wantFolder) return false;
    return entry->fileId == 0 || opened.index == 0 || entry->fileId == opened.index;
}

bool markForDeletion(HANDLE file) {
    FILE_DISPOSITION_INFO disposition{TRUE};
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                      sizeof disposition) != 0;
}

std::wstring temporaryName(std::wstring_view name) {
    static std::atomic<unsigned> counter{0};
    return L"." + std::wstring(name.substr(0, 128)) + L".tarnwick-" +
           std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++) + L"-" +
           std::to_wstring(GetTickCount64() % 1000000);
}

bool copyBytes(HANDLE from, HANDLE to) {
    std::vector<char> buffer(1 << 16);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(from, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr))
            return false;
        if (got == 0) return true;
        for (DWORD done = 0; done < got;) {
            DWORD written = 0;
            if (!WriteFile(to, buffer.data() + done, got - done, &written, nullptr) || !written)
                return false;
            done += written;
        }
    }
}

DWORD renameTo(HANDLE file, HANDLE root, std::wstring_view name, bool replace) {
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = replace;
    rename->RootDirectory = root;
    rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::copy(name.begin(), name.end(), rename->FileName);
    return SetFileInformationByHandle(file, FileRenameInfo, rename,
                                      static_cast<DWORD>(buffer.size()))
               ? ERROR_SUCCESS
               : GetLastError();
}

// Gives the open file `file` the name `name` in `folder`: relative to the
// folder's handle, or, where the system takes no folder handle for a
// rename (wine), by the path the folder's handle has now.
DWORD renameInto(HANDLE file, HANDLE folder, std::wstring_view name, bool replace) {
    const DWORD error = renameTo(file, folder, name, replace);
    if (error != ERROR_INVALID_PARAMETER && error != ERROR_NOT_SUPPORTED &&
        error != ERROR_PATH_NOT_FOUND && error != ERROR_FILE_NOT_FOUND)
        return error;
    std::wstring path(32768, L'\0');
    const DWORD length =
        GetFinalPathNameByHandleW(folder, path.data(), static_cast<DWORD>(path.size()), 0);
    if (length == 0 || length >= path.size()) return error;
    path.resize(length);
    if (path.starts_with(L"\\\\?\\")) path.replace(0, 4, L"\\??\\");
    return renameTo(file, nullptr, path + L"\\" + std::wstring(name), replace);
}

}  // namespace

platform::FileId Win32Folder::id() {
    if (!id_) {
        const auto info = handleInfo(handle_.get());
        id_ = info ? idOf(*info) : platform::FileId{};
    }
    return *id_;
}

bool Win32Folder::list(platform::FolderListing& listing) {
    listing.clear();
    // Whole batches of entries per call, each with its attributes, so the
    // listing needs no call per entry.
    alignas(8) static thread_local unsigned char buffer[64 * 1024];
    FILE_INFO_BY_HANDLE_CLASS kind = FileIdBothDirectoryRestartInfo;
    for (;;) {
        if (!GetFileInformationByHandleEx(handle_.get(), kind, buffer, sizeof buffer))
            return GetLastError() == ERROR_NO_MORE_FILES;
        kind = FileIdBothDirectoryInfo;
        for (std::size_t at = 0;;) {
            const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer + at);
            const std::wstring_view name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
            const DWORD attributes = entry->FileAttributes;
            if (name != L"." && name != L".." && !isReparsePoint(attributes)) {
                if (attributes & FILE_ATTRIBUTE_DIRECTORY)
                    listing.add(toUtf8(name), platform::EntryKind::Folder);
                else if (!(attributes &
                           (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE)))
                    listing.add(toUtf8(name), platform::EntryKind::File);
            }
            if (entry->NextEntryOffset == 0) break;
            at += entry->NextEntryOffset;
        }
    }
}

std::unique_ptr<platform::Folder> Win32Folder::openFolder(
    std::string_view name, bool sameVolume, const std::optional<platform::FileId>& expected) {
    const std::wstring wide = toWide(name);
    Handle child = openInFolder(handle_.get(), wide, kFolderAccess, kOpen, kDirectoryFile);
    if (!child) return nullptr;
    const auto info = handleInfo(child.get());
    if (!info || !(info->attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        !listedAs(handle_.get(), wide, *info, true))
        return nullptr;
    const platform::FileId childId = idOf(*info);
    if ((sameVolume && !childId.sameVolume(id())) || (expected && childId != *expected))
        return nullptr;
    return std::make_unique<Win32Folder>(std::move(child), childId);
}

Handle Win32Folder::openPlainFile(std::wstring_view name, ACCESS_MASK access,
                                  platform::FileId* id) {
    Handle file = openInFolder(handle_.get(), name, access | FILE_READ_ATTRIBUTES, kOpen,
                               kNonDirectoryFile | kSequentialOnly);
    if (!file) return file;
    const auto info = handleInfo(file.get());
    if (!info || !listedAs(handle_.get(), name, *info, false)) return Handle();
    if (id) *id = idOf(*info);
    return file;
}

std::optional<platform::FileId> Win32Folder::fileId(std::string_view name) {
    platform::FileId id;
    if (!openPlainFile(toWide(name), 0, &id)) return std::nullopt;
    return id;
}

platform::CopyResult Win32Folder::copyFile(std::string_view name, platform::Folder& target,
                                           std::string_view targetName, bool replace) {
    auto* to = dynamic_cast<Win32Folder*>(&target);
    const std::wstring wideTarget = toWide(targetName);
    if (!to || !isPlainName(wideTarget)) return platform::CopyResult::Failed;
    Handle source = openPlainFile(toWide(name), GENERIC_READ);
    if (!source) return platform::CopyResult::Failed;
    if (!replace && entryInFolder(to->handle(), wideTarget)) return platform::CopyResult::NameTaken;
    // Written under a temporary name and flushed, then renamed: the copy is
    // whole before anything can find it under its name.
    Handle copy;
    for (int attempt = 0; attempt < 100 && !copy; ++attempt) {
        DWORD error = 0;
        copy = openInFolder(to->handle(), temporaryName(wideTarget), GENERIC_WRITE | DELETE,
                            kCreate, kNonDirectoryFile | kSequentialOnly, &error);
        if (!copy && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    if (!copy) return platform::CopyResult::Failed;
    DWORD error = ERROR_SUCCESS;
    if (!copyBytes(source.get(), copy.get()) || !FlushFileBuffers(copy.get()))
        error = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
    else
        error = renameInto(copy.get(), to->handle(), wideTarget, replace);
    if (error == ERROR_SUCCESS) return platform::CopyResult::Copied;
    markForDeletion(copy.get());
    return !replace && (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
               ? platform::CopyResult::NameTaken
               : platform::CopyResult::Failed;
}

bool Win32Folder::removeFile(std::string_view name) {
    Handle file = openInFolder(handle_.get(), toWide(name),
                               DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, kOpen,
                               kNonDirectoryFile);
    if (!file) return false;
    if (markForDeletion(file.get())) return true;
    // A read-only file is deleted all the same: the user asked for it.
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(file.get(), FileBasicInfo, &basic, sizeof basic) ||
        !(basic.FileAttributes & FILE_ATTRIBUTE_READONLY))
        return false;
    basic.FileAttributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    if (!basic.FileAttributes) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    return SetFileInformationByHandle(file.get(), FileBasicInfo, &basic, sizeof basic) &&
           markForDeletion(file.get());
}

std::unique_ptr<Win32Folder> openFolderAt(const std::string& path) {
    if (path.empty()) return nullptr;
    Handle folder(CreateFileW(extendedPath(path).c_str(), kFolderAccess | SYNCHRONIZE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder) return nullptr;
    const auto info = handleInfo(folder.get());
    if (!info || !(info->attributes & FILE_ATTRIBUTE_DIRECTORY)) return nullptr;
    return std::make_unique<Win32Folder>(std::move(folder), idOf(*info));
}

}  // namespace tarnwk::win32
