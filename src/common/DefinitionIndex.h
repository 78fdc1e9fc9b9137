#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/DefinitionsList.h"

namespace tarnwk {

// The definition entries by folded name part, so a file name is matched with
// one lookup instead of a pass over the whole list. For each name the entry
// indices keep definitions order, one per matching entry. The header (entry
// 0), entries without "|" and entries with an empty name part are left out:
// they never match.
//
// The walk looks up every file it meets and nearly all of them are absent,
// so the table is built for that: open addressing over a compact slot array
// that holds each name's hash, and one block each for the names and the
// entry indices.
class DefinitionIndex {
public:
    explicit DefinitionIndex(const DefinitionsList& definitions);

    // Indices of the entries whose name part equals `foldedName` (already
    // folded with foldName), in definitions order; empty when none.
    std::span<const std::uint32_t> find(std::string_view foldedName) const;

private:
    struct Name {
        std::uint32_t textOffset;
        std::uint32_t textLength;
        std::uint32_t firstEntry;  // into entries_
        std::uint32_t entryCount;
    };
    struct Slot {
        std::uint32_t hash;
        std::uint32_t name;  // index into names_ plus one; 0 is an empty slot
    };

    std::string_view nameText(const Name& name) const;
    std::size_t presentBit(std::uint32_t hash) const { return hash & (present_.size() * 64 - 1); }
    // The slot holding `text`, or the empty slot where it belongs.
    std::size_t slotFor(std::string_view text, std::uint32_t hash) const;

    // One bit per hash value (folded to its size): a clear bit answers
    // "absent" from a table small enough to stay in the processor's cache.
    std::vector<std::uint64_t> present_;
    std::string text_;
    std::vector<Name> names_;
    std::vector<std::uint32_t> entries_;
    std::vector<Slot> slots_;
};

}  // namespace tarnwk
