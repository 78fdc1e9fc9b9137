#include "removal/PurgeMarked.h"

#include <cstdint>

#include "common/BusyPointer.h"
#include "removal/FoundEntries.h"

namespace tarnwk {

void purgeMarked(Program& program, ui::ListBox& lstadware, std::vector<FoundItem>& found) {
    const std::vector<std::size_t> marked = markedPositions(lstadware);
    if (marked.empty()) return;
    if (program.ui.messageBox(kPurgeQuestion, platform::MessageButtons::YesNo) !=
        platform::MessageResult::Yes)
        return;

    BusyPointer busy(program.ui);
    platform::FileSystem& files = program.os.files;
    std::vector<std::size_t> done;
    std::int32_t deleted = 0;
    bool failed = false;
    for (const std::size_t position : marked) {
        if (position >= found.size()) continue;
        const FoundItem& item = found[position];
        if (!stillTheFoundFile(files, item)) {
            done.push_back(position);
        } else if (files.removeFile(item.path)) {
            done.push_back(position);
            ++deleted;
        } else {
            failed = true;
        }
    }
    removeEntries(lstadware, found, done);
    if (deleted > 0) {
        program.totalObjectsRemoved.add(deleted);
        // Stored at once, as after a quarantine move; the store's failures
        // are not reported.
        (void)program.totalObjectsRemoved.save(program.settings);
    }
    busy.release();
    if (failed)
        program.ui.messageBox(kPurgeIncomplete, platform::MessageButtons::Ok,
                              platform::MessageIcon::Information);
}

}  // namespace tarnwk
