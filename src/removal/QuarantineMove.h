#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/Program.h"
#include "platform/ui.h"
#include "scan/ScanView.h"

namespace tarnwk {

// `doQuarantine`: ends the running programs the definitions name, then for
// each marked entry of `lstadware`, in list order, copies the found file into
// the quarantine folder under the definition's spelling of its name, leaves a
// backup copy named by backupName() beside it, and deletes it once the
// quarantine copy is complete. Each file moved counts as one removed object
// and its entry leaves the list; the new total is stored at once. An entry
// whose file was not removed (no longer the file found, not copied, not
// deleted) stays marked and uncounted, and one message afterwards says how
// many and why. `found` holds the found file of each entry, in step with the
// list.
void doQuarantine(Program& program, ui::ListBox& lstadware, std::vector<FoundItem>& found);

// The backup copy's name for a file named `name`: the extension replaced by
// "TWK" (bad.dll gives bad.TWK); a name without extension gets ".TWK" added,
// so the copy stays in the file's own folder under a name of its own. Where
// that name is taken, `number` 1, 2, ... gives the next ones (bad.1.TWK).
std::string backupName(std::string_view name, int number = 0);

}  // namespace tarnwk
