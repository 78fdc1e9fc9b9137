#pragma once

#include <string>

#include "platform/platform.h"

namespace tarnwk::win32 {

// Message boxes (MessageBoxW) with the application title as caption.
class Win32Messages final : public platform::Messages {
public:
    explicit Win32Messages(std::string title);
    platform::MessageResult messageBox(std::string_view text, platform::MessageButtons buttons,
                                       platform::MessageIcon icon) override;
    [[noreturn]] void endProgram(int exitCode) override;

    // The window the boxes belong to (they are modal to it), or none.
    void setOwner(void* window) { owner_ = window; }

private:
    std::string title_;
    void* owner_ = nullptr;
};

// MessageBoxW's style bits for a box, and its answer in our terms.
unsigned messageBoxStyle(platform::MessageButtons buttons, platform::MessageIcon icon);
platform::MessageResult messageBoxResult(int answer, platform::MessageButtons buttons);

}  // namespace tarnwk::win32
