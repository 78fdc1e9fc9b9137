// tarnwk-scan: the scan engine without windows, for servers and scripts.
#include <atomic>
#include <clocale>
#include <csignal>
#include <string>
#include <vector>

#include "cli/ConsoleMessages.h"
#include "cli/ScanCommand.h"
#include "platform/posix/CurlDownloader.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixTerminal.h"

namespace {

std::atomic<int> stopSignal{0};

// A walk or a transfer ends at its next step, cleanly.
extern "C" void requestStop(int signal) {
    stopSignal = signal;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    // A reader that went away is a write error like any other.
    std::signal(SIGPIPE, SIG_IGN);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const auto options = tarnwk::cli::parseScanOptions(arguments);
    if (!options) return tarnwk::cli::kExitError;
    tarnwk::posix::PosixFileSystem files;
    tarnwk::cli::ConsoleMessages messages;
    tarnwk::posix::CurlDownloader downloader(15, &stopSignal);
    tarnwk::posix::PosixTerminal terminal;
    tarnwk::cli::CommandServices services{files, messages, downloader, terminal, stopSignal};
    return tarnwk::cli::runScanCommand(*options, services);
}
