#include "update/Versions.h"

#include "common/SettingsKeys.h"
#include "scan/ReferenceFile.h"

namespace tarnwk {

std::optional<double> publishedVersion(std::string_view versionFile) {
    const auto field =
        ReferenceFieldReader(versionFile.substr(0, versionFile.find_first_of("\r\n"))).next();
    if (!field) return std::nullopt;
    return parseNumber(*field);
}

}  // namespace tarnwk
