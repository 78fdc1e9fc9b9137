#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tarnwk::win32 {

// A drive as the system lists it: its root ("C:\") and its GetDriveTypeW kind.
struct DriveRoot {
    std::wstring root;
    unsigned type = 0;
};

// The drives a full scan walks, in drive-letter order: every drive with a
// root, except the floppy drives A: and B:; a drive that can be without a
// medium (removable, optical, network, RAM) only when `hasMedium` says it
// has one, so an empty drive is skipped instead of stalling the scan.
std::vector<platform::Drive> drivesToScan(
    std::vector<DriveRoot> roots, const std::function<bool(const std::wstring&)>& hasMedium);

// The system's drives (GetLogicalDriveStringsW, GetDriveTypeW).
std::vector<DriveRoot> logicalDrives();

// Whether the drive at `root` holds a readable medium, asked without the
// system's "insert a disk" box.
bool driveHasMedium(const std::wstring& root);

}  // namespace tarnwk::win32
