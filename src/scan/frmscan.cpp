#include "scan/frmscan.h"

#include "common/ScopedFlag.h"
#include "removal/PurgeMarked.h"
#include "removal/QuarantineMove.h"

namespace tarnwk {

frmscan::frmscan(Program& program)
    : ui::Form(program.ui, "frmscan", "Scanning...", 8250, 3285, {.closeCommand = false}),
      program_(program) {
    Label3.placeIn(Frame1);
    // The bold 8.25-point headings; the desktop's own sans-serif family stands
    // in for "MS Sans Serif".
    Frame1.font.bold = true;
    Label1.font.bold = true;

    cmdabort.onClick = [this] { cmdabort_Click(); };
    cmdExit.onClick = [this] { cmdExit_Click(); };
    cmdquarantine.onClick = [this] { cmdquarantine_Click(); };
    cmddelete.onClick = [this] { cmddelete_Click(); };
}

void frmscan::Form_Load() {
    program_.scan.abortScan = false;
    cmdExit.setEnabled(false);
    cmdExit.setVisible(false);
    cmdabort.setVisible(true);
    cmdabort.setEnabled(true);
    cmdquarantine.setEnabled(false);
    cmddelete.setEnabled(false);
    program_.scan.objectsScanned = 0;
}

void frmscan::cmdabort_Click() {
    program_.scan.abortScan = true;
    cmdabort.setVisible(false);
    cmdabort.setEnabled(false);
    cmdExit.setVisible(true);
    cmdExit.setEnabled(true);
}

void frmscan::showFinished() {
    setCaption("Scan Complete");
    Label3.setCaption("");
    cmdabort.setVisible(false);
    cmdabort.setEnabled(false);
    cmdExit.setVisible(true);
    cmdExit.setEnabled(true);
    cmdquarantine.setEnabled(true);
    cmddelete.setEnabled(true);
}

void frmscan::cmdExit_Click() {
    Unload();
    if (program_.mainWindow) program_.mainWindow->Show();
}

void frmscan::cmdquarantine_Click() {
    if (movingFiles_) return;
    const ScopedFlag moving(movingFiles_);
    doQuarantine(program_, lstadware, found_);
}

void frmscan::cmddelete_Click() {
    if (movingFiles_) return;
    const ScopedFlag moving(movingFiles_);
    purgeMarked(program_, lstadware, found_);
}

void frmscan::Form_QueryUnload(bool& cancel) {
    (void)cancel;
    // The store's failures are not reported.
    (void)program_.totalObjectsRemoved.save(program_.settings);
}

void frmscan::clearFoundItems() {
    lstadware.clear();
    found_.clear();
}

void frmscan::doEvents() {
    program_.ui.doEvents();
}

void frmscan::showFolder(std::string_view text) {
    if (loaded()) Label3.setCaption(std::string(text));
}

void frmscan::showObjectsScanned(std::int32_t count) {
    if (loaded()) lblObjectsscannedcount.setCaption(objectsScannedText(count));
}

void frmscan::showAdwareFound(std::size_t count) {
    if (loaded()) lblAdwareFoundCount.setCaption(adwareFoundText(count));
}

void frmscan::addFoundItem(FoundItem item) {
    if (!loaded()) return;
    lstadware.addItem(item.text);
    found_.push_back(std::move(item));
}

}  // namespace tarnwk
