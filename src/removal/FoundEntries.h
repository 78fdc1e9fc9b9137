#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/ui.h"
#include "scan/ScanView.h"

namespace tarnwk {

// True when the found path still names the very file the walk found: not
// gone, not replaced by another file, not turned into a link.
bool stillTheFoundFile(platform::FileSystem& files, const FoundItem& item);

// The file name a found item's copies are made from: the definition's
// spelling, or the name on disk when the item has none.
std::string definitionFileName(const FoundItem& item);

// The positions of the marked entries, ascending.
std::vector<std::size_t> markedPositions(const ui::ListBox& list);

// Takes the entries at `positions` (ascending) out of the list and out of the
// found items kept beside it, highest position first, so each removal leaves
// the positions still to go unchanged.
void removeEntries(ui::ListBox& list, std::vector<FoundItem>& found,
                   const std::vector<std::size_t>& positions);

}  // namespace tarnwk
