#pragma once

#include "platform/Terminal.h"

namespace tarnwk::win32 {

// The console standard error is attached to, if any.
class Win32Terminal final : public platform::Terminal {
public:
    bool errorIsTerminal() override;
    int width() override;
};

}  // namespace tarnwk::win32
