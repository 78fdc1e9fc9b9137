// The real services of the system the tests run on, under names every
// system shares.
#pragma once

#include <memory>
#include <string>

#include "platform/posix/CurlDownloader.h"
#include "platform/posix/IniSettingsStore.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/TempFolder.h"

namespace tarnwk::test {

using NativeFileSystem = posix::PosixFileSystem;
using NativeDownloader = posix::CurlDownloader;
inline constexpr const char* kNativeFileSystemName = "Posix";
inline constexpr const char* kNativeSettingsName = "Ini";

// Whether a folder's handle reaches its entries after the folder was renamed
// and its old name given to a link.
inline bool handlesFollowRenamedFolders() {
    return true;
}

// Where a test keeps real settings: a settings file in `tmp`.
class NativeSettingsPlace {
public:
    explicit NativeSettingsPlace(const TempFolder& tmp) : folder_(tmp / "config") {}
    // A store made anew over the same place, so nothing comes from memory.
    std::unique_ptr<platform::SettingsStore> open() const {
        return std::make_unique<posix::IniSettingsStore>(folder_);
    }

private:
    std::string folder_;
};

}  // namespace tarnwk::test
