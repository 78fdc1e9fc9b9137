#pragma once

#include <vector>

#include "common/Program.h"
#include "platform/ui.h"
#include "scan/ScanView.h"

namespace tarnwk {

// The scan window: shows the folder being searched, the findings and the two
// counters while the walk runs, and offers Quarantine, Purge and Exit when it
// is over. It has no close command: Exit is the only way out. A fresh window
// is made for every scan.
class frmscan final : public ui::Form, public ScanView {
public:
    explicit frmscan(Program& program);

    ui::Frame Frame1{*this, "Frame1", {120, 240, 7935, 855}, "Currently Scanning"};
    ui::Label Label3{*this, "Label3", {120, 360, 7335, 255}, "Label3"};
    ui::Label Label1{*this, "Label1", {360, 1200, 3015, 255}, "Last Spyware / Adware found"};
    // Entries are marked and unmarked one by one; the marked ones are moved.
    ui::ListBox lstadware{*this, "lstadware", {120, 1560, 8055, 930}, ui::SelectionMode::Simple};
    ui::Label lblAdwareFoundCount{
        *this, "lblAdwareFoundCount", {480, 2640, 2415, 255}, "No Spyware / Adware found"};
    ui::Label lblObjectsscannedcount{
        *this, "lblObjectsscannedcount", {480, 3000, 2175, 255}, "0 Objects scanned"};
    ui::Button cmddelete{*this, "cmddelete", {3240, 2520, 1335, 375}, "&Purge"};
    // Abort and Exit share one place; one of them is visible at a time.
    ui::Button cmdabort{*this, "cmdabort", {5160, 2760, 1335, 375}, "&Abort"};
    ui::Button cmdExit{*this, "cmdExit", {5160, 2760, 1335, 375}, "&Exit"};
    ui::Button cmdquarantine{*this, "cmdquarantine", {6600, 2760, 1335, 375}, "&Quarantine"};

    void cmdabort_Click();
    void cmdExit_Click();
    void cmdquarantine_Click();
    // Deletes the marked found files for good, after the user confirms.
    void cmddelete_Click();
    // The state after the walk: "Scan Complete", Exit, Quarantine and Purge.
    void showFinished();

    // The found file behind each entry of `lstadware`, in list order.
    const std::vector<FoundItem>& foundItems() const { return found_; }
    // Empties `lstadware` and the found files with it.
    void clearFoundItems();
    // True while Quarantine or Purge works on the found files.
    bool movingFiles() const { return movingFiles_; }

    // What the walk writes; a closed window is left alone.
    void doEvents() override;
    void showFolder(std::string_view text) override;
    void showObjectsScanned(std::int32_t count) override;
    void showAdwareFound(std::size_t count) override;
    void addFoundItem(FoundItem item) override;
    std::size_t foundItemCount() const override { return lstadware.count(); }

protected:
    void Form_Load() override;
    void Form_QueryUnload(bool& cancel) override;

private:
    Program& program_;
    // Kept in step with the entries of `lstadware`: the displayed text may not
    // be parsed back into a path, so each entry keeps its real one here.
    std::vector<FoundItem> found_;
    bool movingFiles_ = false;
};

}  // namespace tarnwk
