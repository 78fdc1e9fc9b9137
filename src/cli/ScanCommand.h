#pragma once

#include <atomic>

#include "cli/ScanOptions.h"
#include "platform/Terminal.h"
#include "platform/platform.h"

namespace tarnwk::cli {

// What the command works with.
struct CommandServices {
    platform::FileSystem& files;
    platform::Messages& messages;
    platform::Downloader& downloader;
    platform::Terminal& terminal;
    // The number of a signal that asked the program to end, or 0.
    const std::atomic<int>& stopSignal;
};

// Runs the command; returns the exit status.
int runScanCommand(const ScanOptions& options, CommandServices& services);

}  // namespace tarnwk::cli
