#pragma once

#include "platform/platform.h"

namespace tarnwk::posix {

// Running programs from /proc: a process's program is what /proc/PID/exe
// points at; ending one sends SIGKILL.
class PosixProcesses final : public platform::Processes {
public:
    explicit PosixProcesses(std::string procRoot = "/proc") : procRoot_(std::move(procRoot)) {}

    std::vector<platform::ProcessInfo> list() override;
    std::int64_t ownId() override;
    bool terminate(std::int64_t id) override;

private:
    std::string procRoot_;
};

}  // namespace tarnwk::posix
