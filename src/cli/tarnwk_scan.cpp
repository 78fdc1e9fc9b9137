// tarnwk-scan: the scan engine without windows, for servers and scripts.
#include <clocale>
#include <string>
#include <vector>

#include "cli/ConsoleMessages.h"
#include "cli/ScanCommand.h"
#include "platform/posix/CurlDownloader.h"
#include "platform/posix/PosixFileSystem.h"

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const auto options = tarnwk::cli::parseScanOptions(arguments);
    if (!options) return tarnwk::cli::kExitError;
    tarnwk::posix::PosixFileSystem files;
    tarnwk::cli::ConsoleMessages messages;
    tarnwk::posix::CurlDownloader downloader;
    return tarnwk::cli::runScanCommand(*options, files, messages, downloader);
}
