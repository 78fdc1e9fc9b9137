#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/ui.h"
#include "scan/ScanView.h"

namespace tarnwk {

// The found file's folder, opened again from the walk's start folder by
// name, never through a link, when the file in it is still the very file
// the walk found: not gone, not replaced by another file or a link, and its
// folders not swapped for links. Null otherwise.
std::unique_ptr<platform::Folder> openFoundFolder(platform::FileSystem& files,
                                                  const FoundItem& item);

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

// Why marked files were not removed, counted, for the one message after
// Quarantine or Purge.
struct NotRemoved {
    int changed = 0;     // no longer the file the scan found
    int notCopied = 0;   // no complete copy in quarantine
    int notDeleted = 0;  // could not be deleted
    int total() const { return changed + notCopied + notDeleted; }
};

// "N marked files could not be removed and stay marked: ..." with a line
// for each reason that occurred.
std::string notRemovedMessage(const NotRemoved& notRemoved);

}  // namespace tarnwk
