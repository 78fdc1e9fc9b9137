#include "removal/QuarantineMove.h"

#include "common/BusyPointer.h"
#include "removal/FoundEntries.h"
#include "removal/ProcessSweep.h"

namespace tarnwk {
namespace {

// One found file: the copies and the delete, each skipped when it cannot be
// done. A path that no longer names the file the walk found is not touched.
void quarantineFile(Program& program, const FoundItem& item) {
    platform::FileSystem& files = program.os.files;
    if (!stillTheFoundFile(files, item)) return;

    const std::string name = definitionFileName(item);
    const std::string target = joinPath(program.quarantineFolder(), name);
    const std::string backup = joinPath(parentFolder(item.path), backupName(name));
    // A copy onto the found file itself would leave nothing to delete safely.
    if (files.fileId(target) == item.fileId) return;

    const bool quarantined = files.copyFile(item.path, target);
    // Each step is skipped when it cannot be done; the next one still runs.
    if (files.fileId(backup) != item.fileId) (void)files.copyFile(item.path, backup);
    // The found file goes only when a complete copy is in quarantine.
    if (quarantined && stillTheFoundFile(files, item)) (void)files.removeFile(item.path);
}

}  // namespace

std::string backupName(std::string_view name) {
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos) return std::string(name) + ".TWK";
    return std::string(name.substr(0, dot + 1)) + "TWK";
}

void doQuarantine(Program& program, ui::ListBox& lstadware, std::vector<FoundItem>& found) {
    BusyPointer busy(program.ui);
    // Before any file is touched, so no program file is still in use.
    KillMatchingProcesses(program);

    const std::vector<std::size_t> processed = markedPositions(lstadware);
    for (const std::size_t position : processed) {
        if (position < found.size()) quarantineFile(program, found[position]);
        program.totalObjectsRemoved.add(1);
    }
    removeEntries(lstadware, found, processed);
    // Stored now: the main window reloads the total from the store when it
    // comes back, which would otherwise undo these counts.
    if (!processed.empty()) (void)program.totalObjectsRemoved.save(program.settings);
}

}  // namespace tarnwk
