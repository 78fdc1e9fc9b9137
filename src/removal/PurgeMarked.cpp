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
    std::vector<std::size_t> deleted;
    NotRemoved notRemoved;
    for (const std::size_t position : marked) {
        const auto folder =
            position < found.size() ? openFoundFolder(files, found[position]) : nullptr;
        if (!folder)
            ++notRemoved.changed;
        else if (folder->removeFile(found[position].location.fileName))
            deleted.push_back(position);
        else
            ++notRemoved.notDeleted;
    }
    removeEntries(lstadware, found, deleted);
    if (!deleted.empty()) {
        program.totalObjectsRemoved.add(static_cast<std::int32_t>(deleted.size()));
        // Stored at once, as after a quarantine move; the store's failures
        // are not reported.
        (void)program.totalObjectsRemoved.save(program.settings);
    }
    busy.release();
    if (notRemoved.total() > 0)
        program.ui.messageBox(notRemovedMessage(notRemoved), platform::MessageButtons::Ok,
                              platform::MessageIcon::Information);
}

}  // namespace tarnwk
