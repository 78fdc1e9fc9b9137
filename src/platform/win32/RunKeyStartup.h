#pragma once

#include <string>

#include "platform/platform.h"

namespace tarnwk::win32 {

// Start at logon through the value `title` under the current user's Run key,
// holding the executable's full path in double quotes (a path with blanks
// would otherwise name another program). The key is opened, never created.
class RunKeyStartup final : public platform::LoginStartup {
public:
    static constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    RunKeyStartup(std::string title, std::string executablePath, std::string runKey = kRunKey);

    bool setRegistered(bool registered) override;

    // The value's text for `executablePath`.
    static std::string commandFor(const std::string& executablePath);

private:
    std::string title_;
    std::string executablePath_;
    std::string runKey_;
};

}  // namespace tarnwk::win32
