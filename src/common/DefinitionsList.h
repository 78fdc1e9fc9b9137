#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwk {

// A definition entry split at its first "|": the file name it names and the
// label of the unwanted software (which may hold further "|").
struct DefinitionParts {
    std::string_view namePart;
    std::string_view labelPart;
};

// nullopt for an entry without "|", which never matches.
std::optional<DefinitionParts> splitDefinition(std::string_view entry);

// The definitions list: every field of the reference file in file order.
// Entry 0 is the header ("Ver" and the definitions version); definition
// entries start at index 1.
class DefinitionsList {
public:
    DefinitionsList() = default;
    explicit DefinitionsList(std::vector<std::string> entries) : entries_(std::move(entries)) {}

    std::size_t count() const { return entries_.size(); }
    const std::string& entry(std::size_t index) const { return entries_[index]; }
    const std::vector<std::string>& entries() const { return entries_; }
    // The header entry, or "" for an empty list.
    std::string_view header() const;

private:
    std::vector<std::string> entries_;
};

}  // namespace tarnwk
