#pragma once

#include <string_view>
#include <vector>

#include "common/Program.h"
#include "platform/ui.h"
#include "scan/ScanView.h"

namespace tarnwk {

inline constexpr std::string_view kPurgeQuestion =
    "The marked files will be deleted for good, without a copy in quarantine. Continue?";

// The Purge button of the scan window: after the user confirms, deletes the
// marked found files for good, with no copy anywhere and no process ended.
// Each deleted file counts as one removed object and its entry leaves the
// list; an entry whose file is no longer the one found (gone, replaced,
// reached through a link) or could not be deleted stays marked and
// uncounted, and one message afterwards says how many and why.
void purgeMarked(Program& program, ui::ListBox& lstadware, std::vector<FoundItem>& found);

}  // namespace tarnwk
