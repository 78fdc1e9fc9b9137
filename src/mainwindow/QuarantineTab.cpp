// The Quarantine tab of the main window: list the quarantine folder and
// delete files from it for good.
#include "common/BusyPointer.h"
#include "mainwindow/QuarantineList.h"
#include "mainwindow/frmmain.h"

namespace tarnwk {

void frmmain::readQuarantineList() {
    FileListQuarantine.setItems(
        quarantineFileNames(program_.os.files, program_.quarantineFolder()));
}

void frmmain::cmdselectAll_Click() {
    for (std::size_t index = 0; index < FileListQuarantine.count(); ++index)
        FileListQuarantine.setSelected(index, true);
}

void frmmain::cmddeselect_Click() {
    for (std::size_t index = 0; index < FileListQuarantine.count(); ++index)
        FileListQuarantine.setSelected(index, false);
}

void frmmain::cmdPurgeSelected_Click() {
    const BusyPointer busy(program_.ui);
    const std::string folder = program_.quarantineFolder();
    for (std::size_t index = 0; index < FileListQuarantine.count(); ++index) {
        if (!FileListQuarantine.selected(index)) continue;
        // A file that cannot be deleted stays listed; the next one is tried.
        (void)program_.os.files.removeFile(joinPath(folder, FileListQuarantine.item(index)));
    }
    // The counts on the Status tab wait for the next refresh.
    readQuarantineList();
}

}  // namespace tarnwk
