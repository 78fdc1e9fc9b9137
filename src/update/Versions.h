#pragma once

#include <optional>
#include <string_view>

namespace tarnwk {

// The published definitions version: the first field of the version file's
// first line, as a decimal number ("." as the decimal point, whatever the
// user's locale, as the server writes it).
std::optional<double> publishedVersion(std::string_view versionFile);

// The local definitions version: the first eight characters of the reference
// file with every "Ver" removed, as a decimal number.
std::optional<double> localVersion(std::string_view referenceFile);

// A reference file the program can start with: its first field is "Ver"
// followed by a number. An error page or an empty file is not.
bool isValidReferenceFile(std::string_view bytes);

}  // namespace tarnwk
