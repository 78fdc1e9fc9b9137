#pragma once

#include <string_view>
#include <vector>

#include "common/Program.h"
#include "platform/ui.h"
#include "scan/ScanView.h"

namespace tarnwk {

inline constexpr std::string_view kPurgeQuestion =
    "The marked files will be deleted for good, without a copy in quarantine. Continue?";
inline constexpr std::string_view kPurgeIncomplete =
    "Some marked files could not be deleted; they are still marked in the list.";

// The Purge button of the scan window: after the user confirms, deletes the
// marked found files for good, with no copy anywhere and no process ended.
// Each deleted file counts as one removed object and its entry leaves the
// list; an entry whose file is no longer the one found (gone, replaced, now a
// link) leaves the list uncounted; an entry whose file could not be deleted
// stays marked, and the user is told so.
void purgeMarked(Program& program, ui::ListBox& lstadware, std::vector<FoundItem>& found);

}  // namespace tarnwk
