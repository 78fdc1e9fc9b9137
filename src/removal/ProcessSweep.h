#pragma once

#include <cstdint>

#include "common/Program.h"
#include "platform/platform.h"

namespace tarnwk {

// `KillMatchingProcesses`: ends every running program whose file name equals,
// case ignored, the name part of a definition, found or not, marked or not.
// Each match is announced with "same" first; a program named by two
// definitions is announced and ended twice. The program itself is never
// ended, and a process whose program path cannot be read is left alone.
void KillMatchingProcesses(Program& program);

// `KillProcess`: ends the process at once without waiting for it. True when
// the system accepted the request; false for the program's own process.
bool KillProcess(platform::Processes& processes, std::int64_t id);

}  // namespace tarnwk
