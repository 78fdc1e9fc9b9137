#pragma once

#include <cstdint>
#include <string>

namespace tarnwk {

// State that outlives one walk: the abort flag the scan window's Abort button
// sets, the report text the scan log is written from, and the count of files
// examined since the scan window was loaded.
struct ScanState {
    bool abortScan = false;
    std::string scanReport;
    std::int32_t objectsScanned = 0;
};

}  // namespace tarnwk
