#include "common/DefinitionIndex.h"

#include <algorithm>
#include <bit>
#include <functional>

#include "common/NameFolding.h"

namespace tarnwk {
namespace {

std::uint32_t hashOf(std::string_view text) {
    return static_cast<std::uint32_t>(std::hash<std::string_view>{}(text));
}

}  // namespace

DefinitionIndex::DefinitionIndex(const DefinitionsList& definitions) {
    // At most half full, so an absent name usually meets an empty slot first.
    slots_.resize(std::bit_ceil(std::max<std::size_t>(16, definitions.count() * 2)));
    // 64 KiB at most; sixteen bits a name below that.
    present_.resize(std::min<std::size_t>(8192, std::bit_ceil(definitions.count() / 4 + 1)));

    // First pass: the distinct names and how many entries each has.
    std::vector<std::uint32_t> nameOfEntry(definitions.count(), 0);
    std::string folded;
    for (std::size_t i = 1; i < definitions.count(); ++i) {
        const auto parts = splitDefinition(definitions.entry(i));
        if (!parts || parts->namePart.empty()) continue;
        folded.assign(parts->namePart);
        foldNameInPlace(folded);
        const std::uint32_t hash = hashOf(folded);
        Slot& slot = slots_[slotFor(folded, hash)];
        if (slot.name == 0) {
            present_[presentBit(hash) / 64] |= std::uint64_t{1} << (presentBit(hash) % 64);
            names_.push_back({static_cast<std::uint32_t>(text_.size()),
                              static_cast<std::uint32_t>(folded.size()), 0, 0});
            text_ += folded;
            slot = {hash, static_cast<std::uint32_t>(names_.size())};
        }
        ++names_[slot.name - 1].entryCount;
        nameOfEntry[i] = slot.name;
    }

    // Second pass: each name's entries side by side, in definitions order.
    std::uint32_t offset = 0;
    for (Name& name : names_) {
        name.firstEntry = offset;
        offset += name.entryCount;
        name.entryCount = 0;
    }
    entries_.resize(offset);
    for (std::size_t i = 1; i < nameOfEntry.size(); ++i) {
        if (nameOfEntry[i] == 0) continue;
        Name& name = names_[nameOfEntry[i] - 1];
        entries_[name.firstEntry + name.entryCount++] = static_cast<std::uint32_t>(i);
    }
}

std::string_view DefinitionIndex::nameText(const Name& name) const {
    return std::string_view(text_).substr(name.textOffset, name.textLength);
}

std::size_t DefinitionIndex::slotFor(std::string_view text, std::uint32_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const Slot& slot = slots_[at];
        if (slot.name == 0) return at;
        if (slot.hash == hash && nameText(names_[slot.name - 1]) == text) return at;
    }
}

std::span<const std::uint32_t> DefinitionIndex::find(std::string_view foldedName) const {
    const std::uint32_t hash = hashOf(foldedName);
    if (!(present_[presentBit(hash) / 64] >> (presentBit(hash) % 64) & 1)) return {};
    const Slot& slot = slots_[slotFor(foldedName, hash)];
    if (slot.name == 0) return {};
    const Name& name = names_[slot.name - 1];
    return std::span<const std::uint32_t>(entries_).subspan(name.firstEntry, name.entryCount);
}

}  // namespace tarnwk
