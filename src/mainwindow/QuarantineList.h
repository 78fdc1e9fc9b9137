#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace tarnwk {

// The names of the plain, non-hidden files in the quarantine folder, in name
// order with case ignored; empty when the folder cannot be read.
std::vector<std::string> quarantineFileNames(platform::FileSystem& files,
                                             const std::string& folder);

}  // namespace tarnwk
