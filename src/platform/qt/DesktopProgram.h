#pragma once

#include <functional>

namespace tarnwk::qt {

// Builds the services and runs the program until it ends; `whenRunning`
// (for tests that drive the real program) runs once events are served.
int runDesktopProgram(int argc, char** argv, const std::function<void()>& whenRunning = {});

}  // namespace tarnwk::qt
