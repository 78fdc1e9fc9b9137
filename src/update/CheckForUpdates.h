#pragma once

#include <string_view>

#include "common/Program.h"

namespace tarnwk {

inline constexpr std::string_view kVersionFileNotFoundMessage =
    "The update file not found.Unable to verify if new download is present";
inline constexpr std::string_view kDefinitionsUpdatedMessage =
    "Adware definitions updated successfully. Please restart the application";
inline constexpr std::string_view kDefinitionsNotRetrievedMessage =
    "The update file could not be retreived.Unable to update new adware definitions";
inline constexpr std::string_view kDefinitionsNotSavedMessage =
    "The new adware definitions could not be saved beside the program (the folder may be "
    "read-only, or the disk full). The old definitions are kept.";
inline constexpr std::string_view kLocalUnreadableQuestion =
    "The definitions file beside the program declares no version that can be read. Do you wish "
    "to get the published definitions?";
std::string newerVersionQuestion();
std::string upToDateMessage();

// The update check with its messages. `interactive` is 1 from the buttons and
// 0 at start-up, where a version file that cannot be fetched is not told.
void CheckForUpdates(Program& program, int interactive);

}  // namespace tarnwk
