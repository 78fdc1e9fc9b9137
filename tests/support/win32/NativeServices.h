// The real services of the system the tests run on, under names every
// system shares.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "platform/PathText.h"
#include "platform/win32/RegistrySettingsStore.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/WinHttpDownloader.h"
#include "support/TempFolder.h"

namespace tarnwk::test {

using NativeFileSystem = win32::Win32FileSystem;
using NativeDownloader = win32::WinHttpDownloader;
inline constexpr const char* kNativeFileSystemName = "Win32";
inline constexpr const char* kNativeSettingsName = "Registry";

// Whether a folder's handle reaches its entries after the folder was renamed
// and its old name given to a link: not under wine, which resolves names
// below a handle through the folder's first path.
inline bool handlesFollowRenamedFolders() {
    return !GetProcAddress(GetModuleHandleW(L"ntdll"), "wine_get_version");
}

// Where a test keeps real settings: a key of its own under the current
// user's hive, removed with everything in it at the end.
class NativeSettingsPlace {
public:
    explicit NativeSettingsPlace(const TempFolder& tmp)
        : key_("Software\\Tarnwick tests\\" + std::string(fileName(tmp.path()))) {}
    ~NativeSettingsPlace() { RegDeleteTreeW(HKEY_CURRENT_USER, win32::toWide(key_).c_str()); }
    // A store made anew over the same key, so nothing comes from memory.
    std::unique_ptr<platform::SettingsStore> open() const {
        return std::make_unique<win32::RegistrySettingsStore>(key_);
    }
    const std::string& key() const { return key_; }

private:
    std::string key_;
};

}  // namespace tarnwk::test
