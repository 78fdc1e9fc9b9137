#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/DefinitionsList.h"
#include "platform/platform.h"

namespace tarnwk {

// The message of the missing-reference-file stop.
inline constexpr std::string_view kReferenceFileMissingMessage =
    "Reference file not found cannot launch application. Contact provider for help\r\n"
    "Application will now terminate";
inline constexpr int kReferenceFileMissingExitCode = 2;

// Splits the text of a reference file into its fields, in file order.
std::vector<std::string> readReferenceFields(std::string_view text);

// True when the file exists and holds at least one byte. A failure other than
// "not found" shows the system's description first.
bool FileExists(platform::FileSystem& files, platform::Messages& messages, const std::string& path);

// Reads the reference file at `path` into a definitions list. A file that is
// missing, empty, or cannot be read shows the missing-reference-file message
// and ends the program.
DefinitionsList loadReferenceFile(platform::FileSystem& files, platform::Messages& messages,
                                  const std::string& path);

}  // namespace tarnwk
