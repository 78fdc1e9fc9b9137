#include "removal/ScanRun.h"

#include <charconv>
#include <cmath>
#include <thread>

#include "common/BusyPointer.h"
#include "common/ScopedFlag.h"
#include "scan/Peek.h"
#include "scan/ScanLog.h"
#include "scan/frmscan.h"

namespace tarnwk {
namespace {

// A count as the store keeps it: whole numbers without a decimal point.
std::string numberText(double value) {
    if (std::nearbyint(value) == value && std::fabs(value) < 1e15)
        return std::to_string(static_cast<long long>(value));
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

}  // namespace

ScanRun::ScanRun(Program& program) : program_(program) {}

ScanRun::~ScanRun() = default;

frmscan* ScanRun::scanWindow() const {
    return window_ && window_->loaded() ? window_.get() : nullptr;
}

bool ScanRun::stopped() const {
    return program_.scan.abortScan || !window_->loaded();
}

void ScanRun::cmdstartscan_Click(bool fullScan) {
    // One run at a time; and the previous window may not go while one of its
    // own handlers is still moving files.
    if (walking_ || (window_ && window_->movingFiles())) return;
    const ScopedFlag walking(walking_);

    program_.scan.scanReport.clear();
    platform::Clock& clock = program_.os.clock;
    // The store's failures are not reported (nor are they at any other save):
    // the scan itself does not depend on them. A count that is not a number
    // reads as 0.
    (void)program_.settings.save(Setting::LASTRUN, clock.generalDate(clock.now()));
    (void)program_.settings.save(Setting::SCANCOUNT,
                                 numberText(program_.settings.number(Setting::SCANCOUNT) + 1));

    BusyPointer busy(program_.ui);

    // A window still open from the previous scan closes the usual way first,
    // which stores the removed-objects total.
    if (window_ && window_->loaded()) window_->Unload();
    window_ = std::make_unique<frmscan>(program_);
    frmscan& window = *window_;
    window.Load();

    if (program_.mainWindow) program_.mainWindow->Hide();
    window.Show();
    window.clearFoundItems();

    walkTargets(fullScan);

    // An aborted scan is logged too. A log that cannot be written is not
    // reported here: the scan still ends in its finished state.
    if (program_.settings.isOn(Setting::AUTOLOG))
        (void)WriteScanLog(program_, program_.scan.scanReport);

    busy.release();

    // Exit may have closed the window while the walk wound down; a closed
    // window is left closed.
    if (window.loaded()) window.showFinished();
}

void ScanRun::walkTargets(bool fullScan) {
    platform::FileSystem& files = program_.os.files;
    const DefinitionIndex* index = &program_.index();

    Walk walk(files, program_.definitions, *index, *window_, program_.scan);
    // Quarantined files keep the names that found them; they are not news.
    walk.setExcludedFolder(program_.quarantineFolder());
    walk.setThreads(std::thread::hardware_concurrency());

    if (!fullScan) {
        // No folder means nothing to walk, not the current folder.
        const std::string folder = files.quickScanFolder();
        if (!folder.empty()) walk.Peek(folder, true);
        return;
    }
    for (const platform::Drive& drive : files.driveList()) {
        if (stopped()) return;
        walk.setStayOnFileSystem(drive.stayOnVolume);
        walk.Peek(drive.root, true);
    }
}

}  // namespace tarnwk
