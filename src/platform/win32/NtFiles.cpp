#include "platform/win32/NtFiles.h"

#include <winternl.h>

#include <vector>

// Declared by the driver kit only.
extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE, HANDLE, PVOID, PVOID, PIO_STATUS_BLOCK,
                                               PVOID, ULONG, FILE_INFORMATION_CLASS, BOOLEAN,
                                               PUNICODE_STRING, BOOLEAN);

namespace tarnwk::win32 {
namespace {

constexpr auto kIdBothDirectoryInformation = static_cast<FILE_INFORMATION_CLASS>(37);

// FILE_ID_BOTH_DIR_INFORMATION, whose layout winternl.h does not give.
struct IdBothDirectoryEntry {
    ULONG nextEntryOffset;
    ULONG fileIndex;
    LARGE_INTEGER creationTime, lastAccessTime, lastWriteTime, changeTime;
    LARGE_INTEGER endOfFile, allocationSize;
    ULONG fileAttributes;
    ULONG fileNameLength;
    ULONG eaSize;
    CCHAR shortNameLength;
    WCHAR shortName[12];
    LARGE_INTEGER fileId;
    WCHAR fileName[1];
};

UNICODE_STRING counted(std::wstring_view text) {
    UNICODE_STRING string;
    string.Buffer = const_cast<wchar_t*>(text.data());
    string.Length = static_cast<USHORT>(text.size() * sizeof(wchar_t));
    string.MaximumLength = string.Length;
    return string;
}

}  // namespace

bool isPlainName(std::wstring_view name) {
    return !name.empty() && name.size() < 32768 && name != L"." && name != L".." &&
           name.find_first_of(L"\\/:") == std::wstring_view::npos &&
           name.find(L'\0') == std::wstring_view::npos;
}

Handle openInFolder(HANDLE folder, std::wstring_view name, ACCESS_MASK access, ULONG disposition,
                    ULONG options, DWORD* error) {
    if (!isPlainName(name)) {
        if (error) *error = ERROR_INVALID_NAME;
        return Handle();
    }
    UNICODE_STRING string = counted(name);
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &string, OBJ_CASE_INSENSITIVE, folder, nullptr);
    IO_STATUS_BLOCK status{};
    HANDLE handle = nullptr;
    const NTSTATUS result = NtCreateFile(
        &handle, access | SYNCHRONIZE, &attributes, &status, nullptr, FILE_ATTRIBUTE_NORMAL,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, disposition,
        options | kOpenReparsePoint | kOpenForBackup | kSynchronousIo, nullptr, 0);
    if (result < 0) {
        if (error) *error = RtlNtStatusToDosError(result);
        return Handle();
    }
    return Handle(handle);
}

std::optional<EntryInfo> entryInFolder(HANDLE folder, std::wstring_view name) {
    if (!isPlainName(name)) return std::nullopt;
    // A handle of its own: a folder handle keeps the first search pattern
    // it was given, and the folder's may be listed meanwhile.
    UNICODE_STRING itself{};
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &itself, OBJ_CASE_INSENSITIVE, folder, nullptr);
    IO_STATUS_BLOCK opened{};
    HANDLE raw = nullptr;
    if (NtCreateFile(&raw, FILE_LIST_DIRECTORY | SYNCHRONIZE, &attributes, &opened, nullptr, 0,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, kOpen,
                     kDirectoryFile | kOpenForBackup | kSynchronousIo, nullptr, 0) < 0)
        return std::nullopt;
    const Handle search(raw);
    std::vector<unsigned char> buffer(sizeof(IdBothDirectoryEntry) + name.size() * 2 + 512);
    UNICODE_STRING pattern = counted(name);
    IO_STATUS_BLOCK status{};
    const NTSTATUS result = NtQueryDirectoryFile(search.get(), nullptr, nullptr, nullptr, &status,
                                                 buffer.data(), static_cast<ULONG>(buffer.size()),
                                                 kIdBothDirectoryInformation, TRUE, &pattern, TRUE);
    if (result < 0) return std::nullopt;
    const auto* entry = reinterpret_cast<const IdBothDirectoryEntry*>(buffer.data());
    const std::wstring_view found(entry->fileName, entry->fileNameLength / sizeof(wchar_t));
    if (CompareStringOrdinal(found.data(), static_cast<int>(found.size()), name.data(),
                             static_cast<int>(name.size()), TRUE) != CSTR_EQUAL)
        return std::nullopt;
    const auto id = static_cast<std::uint64_t>(entry->fileId.QuadPart);
    return EntryInfo{entry->fileAttributes, id == ~std::uint64_t{0} ? 0 : id};
}

std::optional<HandleInfo> handleInfo(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) return std::nullopt;
    return HandleInfo{info.dwFileAttributes, info.dwVolumeSerialNumber,
                      (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

}  // namespace tarnwk::win32
