#pragma once

#include <functional>

namespace tarnwk {

// Builds the services and runs the desktop program until it ends;
// `whenRunning` (for tests that drive the real program) runs once events are
// served.
int runDesktopProgram(int argc, char** argv, std::function<void()> whenRunning = {});

}  // namespace tarnwk
