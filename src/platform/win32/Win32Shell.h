#pragma once

#include "platform/platform.h"

namespace tarnwk::win32 {

// Opens documents and web addresses with ShellExecuteW's default action.
class Win32Shell final : public platform::Shell {
public:
    void open(std::string_view address) override;
};

}  // namespace tarnwk::win32
