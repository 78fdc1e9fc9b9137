#pragma once

#include <atomic>
#include <string>
#include <vector>

namespace tarnwk::win32 {

// The program's arguments in UTF-8, whatever the console's code page.
std::vector<std::string> commandLineArguments();

// Ctrl+C, Ctrl+Break and closing the console set `stop` (to the number
// SIGINT has elsewhere), so a walk or a transfer ends at its next step.
void stopOnConsoleBreak(std::atomic<int>& stop);

// Prepares the console, if any: UTF-8 for the narrow text written to
// standard error and terminal sequences for the progress line.
void prepareConsole();

}  // namespace tarnwk::win32
