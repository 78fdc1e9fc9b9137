#pragma once

#include <memory>

#include "common/Program.h"

namespace tarnwk {

class frmscan;

// The start-scan command: records the run, swaps the main window for a fresh
// scan window, walks the targets, writes the log when asked, and leaves the
// scan window in its finished state.
class ScanRun {
public:
    explicit ScanRun(Program& program);
    ~ScanRun();

    // `cmdstartscan_Click` of the main window: a full scan walks every drive,
    // a quick scan the quick-scan folder. Returns when the walk is over; a
    // start while another run walks is refused.
    void cmdstartscan_Click(bool fullScan);
    bool walking() const { return walking_; }
    // The scan window of the latest run while it is open; null once closed.
    frmscan* scanWindow() const;

private:
    // The walk: the quick-scan folder, or every drive in turn.
    void walkTargets(bool fullScan);
    // Abort was pressed, or Exit closed the window.
    bool stopped() const;

    Program& program_;
    std::unique_ptr<frmscan> window_;
    bool walking_ = false;
};

}  // namespace tarnwk
