#pragma once

#include <atomic>
#include <chrono>
#include <string>

#include "cli/ConsoleOutput.h"
#include "cli/ScanOptions.h"
#include "common/DefinitionsList.h"
#include "common/ScanState.h"
#include "platform/Terminal.h"
#include "scan/ScanView.h"

namespace tarnwk::cli {

// The scan as a command line shows it: each finding printed the moment it
// is made, in the chosen format; on a terminal, one line of progress on
// standard error. A failed write or a request to stop (a signal) ends the
// walk at its next check point.
class ConsoleScanView final : public ScanView {
public:
    ConsoleScanView(ConsoleOutput& out, OutputFormat format, const DefinitionsList& definitions,
                    ScanState& state, const std::atomic<int>& stopSignal);
    // Shows progress on `terminal` (when standard error is one).
    void showProgressOn(platform::Terminal& terminal);

    void doEvents() override;
    void showFolder(std::string_view text) override;
    void showObjectsScanned(std::int32_t) override {}
    void showAdwareFound(std::size_t) override {}
    void addFoundItem(FoundItem item) override;
    std::size_t foundItemCount() const override { return found_; }

    // Erases the progress line; in JSON, prints the summary object.
    void finish(double seconds);

private:
    void drawProgress();

    ConsoleOutput& out_;
    const OutputFormat format_;
    const DefinitionsList& definitions_;
    ScanState& state_;
    const std::atomic<int>& stopSignal_;
    std::size_t found_ = 0;
    platform::Terminal* terminal_ = nullptr;
    long folders_ = 0;
    std::string folder_;
    unsigned calls_ = 0;
    std::chrono::steady_clock::time_point drawn_{};
};

}  // namespace tarnwk::cli
