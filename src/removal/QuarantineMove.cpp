#include "removal/QuarantineMove.h"

#include "common/BusyPointer.h"
#include "removal/FoundEntries.h"
#include "removal/ProcessSweep.h"

namespace tarnwk {
namespace {

enum class Moved { Yes, Changed, NotCopied, NotDeleted };

// The backup copy beside the found file, under the first free backup name:
// an existing file is never replaced. Skipped when it cannot be made.
void makeBackup(platform::Folder& folder, const std::string& onDisk, const std::string& name) {
    for (int number = 0; number < 1000; ++number) {
        const auto made = folder.copyFile(onDisk, folder, backupName(name, number), false);
        if (made != platform::CopyResult::NameTaken) return;
    }
}

// One found file: the quarantine copy, the backup copy, and the delete once
// a complete copy is in quarantine. A file that is no longer the one the
// walk found is not touched.
Moved quarantineFile(platform::FileSystem& files, platform::Folder* quarantine,
                     const FoundItem& item) {
    const auto folder = openFoundFolder(files, item);
    if (!folder) return Moved::Changed;
    const std::string& onDisk = item.location.fileName;
    const std::string name = definitionFileName(item);
    // A copy onto the found file itself would leave nothing to delete safely.
    const bool quarantined = quarantine && quarantine->fileId(name) != item.fileId &&
                             folder->copyFile(onDisk, *quarantine, name) ==
                                 platform::CopyResult::Copied;
    makeBackup(*folder, onDisk, name);
    if (!quarantined) return Moved::NotCopied;
    if (folder->fileId(onDisk) != item.fileId || !folder->removeFile(onDisk))
        return Moved::NotDeleted;
    return Moved::Yes;
}

}  // namespace

std::string backupName(std::string_view name, int number) {
    const auto dot = name.rfind('.');
    std::string backup(dot == std::string_view::npos ? name : name.substr(0, dot));
    if (number > 0) backup += "." + std::to_string(number);
    return backup + ".TWK";
}

void doQuarantine(Program& program, ui::ListBox& lstadware, std::vector<FoundItem>& found) {
    BusyPointer busy(program.ui);
    // Before any file is touched, so no program file is still in use.
    KillMatchingProcesses(program);

    platform::FileSystem& files = program.os.files;
    const auto quarantine = files.openFolder(program.quarantineFolder());
    std::vector<std::size_t> moved;
    NotRemoved notRemoved;
    for (const std::size_t position : markedPositions(lstadware)) {
        switch (position < found.size() ? quarantineFile(files, quarantine.get(), found[position])
                                        : Moved::Changed) {
            case Moved::Yes:
                moved.push_back(position);
                program.totalObjectsRemoved.add(1);
                break;
            case Moved::Changed:
                ++notRemoved.changed;
                break;
            case Moved::NotCopied:
                ++notRemoved.notCopied;
                break;
            case Moved::NotDeleted:
                ++notRemoved.notDeleted;
                break;
        }
    }
    removeEntries(lstadware, found, moved);
    // Stored now: the main window reloads the total from the store when it
    // comes back, which would otherwise undo these counts. The store's
    // failures are not reported.
    if (!moved.empty()) (void)program.totalObjectsRemoved.save(program.settings);
    busy.release();
    if (notRemoved.total() > 0)
        program.ui.messageBox(notRemovedMessage(notRemoved), platform::MessageButtons::Ok,
                              platform::MessageIcon::Information);
}

}  // namespace tarnwk
