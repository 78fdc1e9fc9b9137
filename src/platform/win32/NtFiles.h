#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string_view>

namespace tarnwk::win32 {

// A handle closed when it goes out of scope.
class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    ~Handle() { reset(); }
    Handle(Handle&& other) noexcept : handle_(other.release()) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = other.release();
        }
        return *this;
    }
    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    HANDLE release() {
        HANDLE handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    void reset() {
        if (handle_) CloseHandle(handle_);
        handle_ = nullptr;
    }

private:
    HANDLE handle_ = nullptr;
};

// Dispositions and options of NtCreateFile, which only the driver kit names.
constexpr ULONG kOpen = 1;                       // FILE_OPEN
constexpr ULONG kCreate = 2;                     // FILE_CREATE
constexpr ULONG kDirectoryFile = 0x00000001;     // FILE_DIRECTORY_FILE
constexpr ULONG kSequentialOnly = 0x00000004;    // FILE_SEQUENTIAL_ONLY
constexpr ULONG kSynchronousIo = 0x00000020;     // FILE_SYNCHRONOUS_IO_NONALERT
constexpr ULONG kNonDirectoryFile = 0x00000040;  // FILE_NON_DIRECTORY_FILE
constexpr ULONG kOpenForBackup = 0x00004000;     // FILE_OPEN_FOR_BACKUP_INTENT
constexpr ULONG kOpenReparsePoint = 0x00200000;  // FILE_OPEN_REPARSE_POINT

// Opens `name`, one entry of the folder `folder`, relative to the folder's
// handle: what the name meant when the folder was opened cannot be changed
// under us by renaming the folder's parents. A reparse point (junction,
// symbolic link, mount point) is opened itself, never followed. The
// system's error number (ERROR_*) goes to `error` on failure.
Handle openInFolder(HANDLE folder, std::wstring_view name, ACCESS_MASK access, ULONG disposition,
                    ULONG options, DWORD* error = nullptr);

// The folder's own entry for `name`, as the folder lists it.
struct EntryInfo {
    DWORD attributes = 0;
    std::uint64_t fileId = 0;  // 0 when the file system gives none
};
std::optional<EntryInfo> entryInFolder(HANDLE folder, std::wstring_view name);

// Volume serial number and file index of an open file.
struct HandleInfo {
    DWORD attributes = 0;
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
};
std::optional<HandleInfo> handleInfo(HANDLE file);

// A name that stays inside its folder: no separators, no "." or "..".
bool isPlainName(std::wstring_view name);

// True for an entry that is a reparse point, whatever it points to.
inline bool isReparsePoint(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

}  // namespace tarnwk::win32
