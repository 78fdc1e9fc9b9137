#include "common/DefinitionsList.h"

namespace tarnwk {

std::optional<DefinitionParts> splitDefinition(std::string_view entry) {
    const auto bar = entry.find('|');
    if (bar == std::string_view::npos) return std::nullopt;
    return DefinitionParts{entry.substr(0, bar), entry.substr(bar + 1)};
}

std::string_view DefinitionsList::header() const {
    return entries_.empty() ? std::string_view() : std::string_view(entries_.front());
}

}  // namespace tarnwk
