#pragma once

#include "common/Program.h"
#include "common/ServerAddress.h"

namespace tarnwk {

// The program's entry: a second start hands over to the running instance and
// ends; a first start loads the tray window and the splash, then serves
// events until the tray menu's Exit. Returns the process's exit status.
int Main(Program& program, platform::SingleInstance& instance);

}  // namespace tarnwk
