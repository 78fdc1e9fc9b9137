#include "scan/DefinitionIndex.h"

#include "scan/NameFolding.h"

namespace tarnwk {

DefinitionIndex::DefinitionIndex(const DefinitionsList& definitions) {
    for (std::size_t i = 1; i < definitions.count(); ++i) {
        const auto parts = splitDefinition(definitions.entry(i));
        if (!parts || parts->namePart.empty()) continue;
        byName_[foldName(parts->namePart)].push_back(static_cast<std::uint32_t>(i));
    }
}

std::span<const std::uint32_t> DefinitionIndex::find(std::string_view foldedName) const {
    const auto it = byName_.find(foldedName);
    if (it == byName_.end()) return {};
    return it->second;
}

}  // namespace tarnwk
