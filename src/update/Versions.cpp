#include "update/Versions.h"

#include <string>

#include "common/SettingsKeys.h"
#include "scan/Cp1252.h"
#include "scan/ReferenceFile.h"

namespace tarnwk {
namespace {

std::string_view firstLine(std::string_view text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

}  // namespace

std::optional<double> publishedVersion(std::string_view versionFile) {
    const auto fields = readReferenceFields(decodeCp1252(firstLine(versionFile)));
    if (fields.empty()) return std::nullopt;
    return parseNumber(fields.front());
}

std::optional<double> localVersion(std::string_view referenceFile) {
    if (referenceFile.size() < 8) return std::nullopt;
    std::string head(referenceFile.substr(0, 8));
    for (std::size_t at; (at = head.find("Ver")) != std::string::npos;) head.erase(at, 3);
    return parseNumber(head);
}

bool isValidReferenceFile(std::string_view bytes) {
    const auto fields = readReferenceFields(decodeCp1252(firstLine(bytes)));
    if (fields.empty() || !fields.front().starts_with("Ver")) return false;
    return parseNumber(std::string_view(fields.front()).substr(3)).has_value();
}

}  // namespace tarnwk
