#pragma once

#include <string>

#include "platform/platform.h"

namespace tarnwk::posix {

// Start at login through the XDG autostart folder:
// <configHome>/autostart/<title>.desktop, whose Exec= holds the quoted path of
// the executable.
class XdgAutostart final : public platform::LoginStartup {
public:
    XdgAutostart(std::string configHome, std::string title, std::string executablePath);

    bool setRegistered(bool registered) override;

    std::string desktopFilePath() const;
    // The desktop entry's text for `executablePath`; empty when the path cannot
    // be written into an Exec= line (it holds a control character).
    static std::string desktopEntry(const std::string& title, const std::string& executablePath);

private:
    std::string configHome_;
    std::string title_;
    std::string executablePath_;
};

}  // namespace tarnwk::posix
