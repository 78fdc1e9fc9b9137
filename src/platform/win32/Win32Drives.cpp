#include "platform/win32/Win32Drives.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/WideText.h"

namespace tarnwk::win32 {
namespace {

wchar_t driveLetter(const std::wstring& root) {
    return root.empty() ? L'\0' : static_cast<wchar_t>(towupper(root[0]));
}

}  // namespace

std::vector<platform::Drive> drivesToScan(
    std::vector<DriveRoot> roots, const std::function<bool(const std::wstring&)>& hasMedium) {
    std::sort(roots.begin(), roots.end(), [](const DriveRoot& a, const DriveRoot& b) {
        return driveLetter(a.root) < driveLetter(b.root);
    });
    std::vector<platform::Drive> drives;
    for (const DriveRoot& drive : roots) {
        const wchar_t letter = driveLetter(drive.root);
        if (drive.type == DRIVE_UNKNOWN || drive.type == DRIVE_NO_ROOT_DIR) continue;
        if ((letter == L'A' || letter == L'B') && drive.type == DRIVE_REMOVABLE) continue;
        if (drive.type != DRIVE_FIXED && !hasMedium(drive.root)) continue;
        // Other volumes are mounted on folders that are reparse points, which
        // a walk never enters: no drive is walked twice.
        drives.push_back({toUtf8(drive.root), false});
    }
    return drives;
}

std::vector<DriveRoot> logicalDrives() {
    std::wstring buffer(512, L'\0');
    DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length > buffer.size()) {
        buffer.assign(length, L'\0');
        length = GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
    }
    std::vector<DriveRoot> drives;
    for (std::size_t at = 0; at < length && buffer[at];) {
        const std::wstring root(buffer.c_str() + at);
        drives.push_back({root, GetDriveTypeW(root.c_str())});
        at += root.size() + 1;
    }
    return drives;
}

bool driveHasMedium(const std::wstring& root) {
    const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    DWORD serial = 0;
    const bool ready =
        GetVolumeInformationW(root.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0) != 0;
    SetErrorMode(previous);
    return ready;
}

}  // namespace tarnwk::win32
