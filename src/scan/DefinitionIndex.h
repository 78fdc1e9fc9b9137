#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "scan/DefinitionsList.h"

namespace tarnwk {

// The definition entries by folded name part, so a file name is matched with
// one lookup instead of a pass over the whole list. For each name the entry
// indices keep definitions order, one per matching entry. The header (entry
// 0), entries without "|" and entries with an empty name part are left out:
// they never match.
class DefinitionIndex {
public:
    explicit DefinitionIndex(const DefinitionsList& definitions);

    // Indices of the entries whose name part equals `foldedName` (already
    // folded with foldName), in definitions order; empty when none.
    std::span<const std::uint32_t> find(std::string_view foldedName) const;

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const noexcept {
            return std::hash<std::string_view>{}(text);
        }
    };
    std::unordered_map<std::string, std::vector<std::uint32_t>, Hash, std::equal_to<>> byName_;
};

}  // namespace tarnwk
