#pragma once

#include "platform/platform.h"

namespace tarnwk::win32 {

// The running processes (Toolhelp) with their program files
// (QueryFullProcessImageNameW); termination with the debug privilege
// enabled around the call, so other users' programs can be ended where the
// account may.
class Win32Processes final : public platform::Processes {
public:
    std::vector<platform::ProcessInfo> list() override;
    std::int64_t ownId() override;
    bool terminate(std::int64_t id) override;
};

}  // namespace tarnwk::win32
