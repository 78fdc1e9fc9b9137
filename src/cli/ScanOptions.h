#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarnwk::cli {

inline constexpr int kExitClean = 0;
inline constexpr int kExitFound = 1;
inline constexpr int kExitError = 2;

struct ScanTarget {
    enum class Kind { Folder, Quick, Full } kind;
    std::string folder;  // for Kind::Folder
};

enum class OutputFormat {
    Lines,  // one finding a line, control characters escaped
    Null,   // each finding as it is, ended by a NUL byte
    Json,   // one JSON object a line, then a summary object
};

struct ScanOptions {
    std::optional<std::string> definitionsPath;  // none: ref.dat beside the program
    std::vector<ScanTarget> targets;
    bool listDefinitions = false;
    bool update = false;
    bool help = false;
    bool version = false;
    bool quiet = false;
    OutputFormat format = OutputFormat::Lines;
    // Threads that list folders; 0: one per core.
    unsigned threads = 0;
};

// The parsed command line, or nullopt after an error message on stderr.
std::optional<ScanOptions> parseScanOptions(const std::vector<std::string>& arguments);

extern const char* const kUsage;

}  // namespace tarnwk::cli
