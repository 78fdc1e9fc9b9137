#include "cli/UpdateCommand.h"

#include <cstdio>

#include "update/DefinitionsUpdater.h"

namespace tarnwk::cli {
namespace {

void say(std::FILE* stream, const std::string& line) {
    std::fprintf(stream, "tarnwk-scan: %s\n", line.c_str());
}

std::string version(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

}  // namespace

bool updateDefinitions(platform::FileSystem& files, platform::Downloader& downloader,
                       const std::string& referenceFile, const std::string& savedFile,
                       const std::string& server) {
    using Check = DefinitionsUpdater::Check;
    using Outcome = DefinitionsUpdater::Outcome;
    DefinitionsUpdater updater(files, downloader, referenceFile, savedFile, server);
    const auto versions = updater.checkVersion();
    if (versions.check == Check::PublishedUnavailable) {
        say(stderr, "the published definitions version could not be read from " + server);
        return false;
    }
    if (versions.check == Check::UpToDate) {
        say(stdout, "definitions are up to date (version " + version(*versions.local) + ")");
        return true;
    }
    if (versions.check == Check::LocalUnreadable)
        say(stderr, referenceFile +
                        (files.fileLength(referenceFile).status == platform::LengthStatus::NotFound
                             ? " is missing"
                             : " declares no version (its first field must be Ver "
                               "and a number)") +
                        "; the published definitions take its place");
    const std::string kept =
        versions.local ? "; version " + version(*versions.local) + " is kept" : "";
    const auto download = updater.downloadDefinitions(versions.local);
    switch (download.outcome) {
        case Outcome::Installed:
            say(stdout, versions.local
                            ? "definitions updated from version " + version(*versions.local) +
                                  " to " + version(download.version)
                            : "definitions version " + version(download.version) + " installed");
            return true;
        case Outcome::NotRetrieved:
            say(stderr, "the new definitions could not be retrieved from " + server + kept);
            return false;
        case Outcome::NotDefinitions:
            say(stderr, "what " + server + " served as definitions is no definitions file" + kept);
            return false;
        case Outcome::NotNewer:
            say(stderr, "the definitions served are version " + version(download.version) +
                            ", not newer than the local ones" + kept);
            return false;
        case Outcome::NotSaved:
            say(stderr, "the new definitions could not be saved as " + savedFile +
                            " (is the folder writable, the disk full?)" + kept);
            return false;
    }
    return false;
}

}  // namespace tarnwk::cli
