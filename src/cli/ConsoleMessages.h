#pragma once

#include "platform/platform.h"

namespace tarnwk::cli {

// Message boxes for a program without windows: the text goes to standard
// error and the box is answered with its first button.
class ConsoleMessages final : public platform::Messages {
public:
    platform::MessageResult messageBox(std::string_view text, platform::MessageButtons buttons,
                                       platform::MessageIcon icon) override;
    [[noreturn]] void endProgram(int exitCode) override;
};

}  // namespace tarnwk::cli
