#pragma once

#include <algorithm>
#include <optional>
#include <thread>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tarnwk::cli {

inline constexpr int kExitClean = 0;
inline constexpr int kExitFound = 1;
inline constexpr int kExitError = 2;

struct ScanTarget {
    enum class Kind { Folder, Quick, Full } kind;
    std::string folder;  // for Kind::Folder
};

struct ScanOptions {
    std::string definitionsPath;  // empty: ref.dat beside the executable
    std::vector<ScanTarget> targets;
    bool listDefinitions = false;
    bool update = false;
    bool help = false;
    // Threads that list folders.
    unsigned threads = std::max(1u, std::thread::hardware_concurrency());
};

// The parsed command line, or nullopt after an error message on stderr.
std::optional<ScanOptions> parseScanOptions(const std::vector<std::string>& arguments);

extern const char* const kUsage;

// Runs the command; returns the exit status.
int runScanCommand(const ScanOptions& options, platform::FileSystem& files,
                   platform::Messages& messages, platform::Downloader& downloader);

}  // namespace tarnwk::cli
