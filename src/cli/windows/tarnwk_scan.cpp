// tarnwk-scan.exe: the scan engine without windows, for servers and scripts.
#include <atomic>
#include <string>
#include <vector>

#include "cli/ConsoleMessages.h"
#include "cli/ScanCommand.h"
#include "platform/win32/Win32Console.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Terminal.h"
#include "platform/win32/WinHttpDownloader.h"

namespace {

std::atomic<int> stopSignal{0};

}  // namespace

int main() {
    tarnwk::win32::prepareConsole();
    tarnwk::win32::stopOnConsoleBreak(stopSignal);
    const auto options = tarnwk::cli::parseScanOptions(tarnwk::win32::commandLineArguments());
    if (!options) return tarnwk::cli::kExitError;
    tarnwk::win32::Win32FileSystem files;
    tarnwk::cli::ConsoleMessages messages;
    tarnwk::win32::WinHttpDownloader downloader(15, &stopSignal);
    tarnwk::win32::Win32Terminal terminal;
    tarnwk::cli::CommandServices services{files, messages, downloader, terminal, stopSignal};
    return tarnwk::cli::runScanCommand(*options, services);
}
