#pragma once

#include <optional>
#include <string_view>

namespace tarnwk {

// The published definitions version: the first field of the version file's
// first line, as a decimal number ("." as the decimal point, whatever the
// user's locale, as the server writes it). A reference file's own version is
// referenceFileVersion (scan/ReferenceFile.h).
std::optional<double> publishedVersion(std::string_view versionFile);

}  // namespace tarnwk
