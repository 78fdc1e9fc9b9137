// The Status tab of the main window.
#include "mainwindow/QuarantineList.h"
#include "mainwindow/frmmain.h"

namespace tarnwk {

void frmmain::showDefinitions() {
    // Before the reference file is loaded the list is empty: the labels keep
    // "Not Loaded".
    if (program_.definitions.count() == 0) return;
    lblRefFilename.setCaption(std::string(program_.definitions.header()));
    lbladwarerefcnt.setCaption(std::to_string(program_.definitions.count()) + " Adware types");
}

void frmmain::refreshStatus() {
    readQuarantineList();
    lblqcnt.setCaption(std::to_string(FileListQuarantine.count()) + " Adware in Quarantine");
    if (program_.definitions.count() != 0)
        lblRefFilename.setCaption(std::string(program_.definitions.header()));
    // The hidden file list counts the folder afresh.
    const auto inQuarantine = quarantineFileNames(program_.os.files, program_.quarantineFolder());
    lblStatus_Quarintine.setCaption(std::to_string(inQuarantine.size()));
    lblStatus_System.setCaption(program_.settings.text(Setting::LASTRUN));
    lblStatus_Total.setCaption(program_.settings.text(Setting::SCANCOUNT));
}

}  // namespace tarnwk
