#pragma once

#include <string>

#include "platform/platform.h"

namespace tarnwk::cli {

// Brings the definitions file up to date without questions and says in one
// line what happened, what was wrong where, and which version is in place.
// A local file that is missing or declares no version is replaced by the
// published one, so a machine without a screen can repair itself. False on
// failure.
bool updateDefinitions(platform::FileSystem& files, platform::Downloader& downloader,
                       const std::string& referenceFile, const std::string& savedFile,
                       const std::string& server);

}  // namespace tarnwk::cli
