#pragma once

#include "platform/Terminal.h"

namespace tarnwk::win32 {

// The console standard error is attached to, if any; text for a console on
// standard output goes through WriteConsoleW, as the console's own
// characters.
class Win32Terminal final : public platform::Terminal {
public:
    bool errorIsTerminal() override;
    int width() override;
    std::optional<bool> writeToConsole(std::string_view text) override;
};

}  // namespace tarnwk::win32
