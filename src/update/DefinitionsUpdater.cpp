#include "update/DefinitionsUpdater.h"

#include "scan/ReferenceFile.h"
#include "update/Versions.h"

namespace tarnwk {

std::optional<std::string> DownloadFile(platform::Downloader& downloader, const std::string& url,
                                        std::size_t maxBytes, int seconds) {
    return downloader.fetch(url, maxBytes, seconds);
}

DefinitionsUpdater::DefinitionsUpdater(platform::FileSystem& files,
                                       platform::Downloader& downloader, std::string referenceFile,
                                       std::string savedFile, std::string serverBase)
    : files_(files),
      downloader_(downloader),
      referenceFile_(std::move(referenceFile)),
      savedFile_(std::move(savedFile)),
      serverBase_(std::move(serverBase)) {}

DefinitionsUpdater::Versions DefinitionsUpdater::checkVersion() {
    const auto versionFile = DownloadFile(downloader_, serverBase_ + std::string(kVersionFilePath),
                                          kVersionFileLimit, kVersionFileSeconds);
    const auto published = versionFile ? publishedVersion(*versionFile) : std::nullopt;
    if (!published) return {};
    const auto referenceText = files_.readFile(referenceFile_);
    const auto local = referenceText ? referenceFileVersion(*referenceText) : std::nullopt;
    if (!local) return {Check::LocalUnreadable, std::nullopt, *published};
    return {*local < *published ? Check::Newer : Check::UpToDate, local, *published};
}

DefinitionsUpdater::Download DefinitionsUpdater::downloadDefinitions(std::optional<double> local) {
    const auto bytes = DownloadFile(downloader_, serverBase_ + std::string(kReferenceFilePath),
                                    kReferenceFileLimit, kReferenceFileSeconds);
    if (!bytes) return {Outcome::NotRetrieved};
    // The file speaks for itself: what the version file announced is not
    // trusted over it, so an older file is never installed as newer.
    const auto version = referenceFileVersion(*bytes);
    if (!version) return {Outcome::NotDefinitions};
    if (local && *version <= *local) return {Outcome::NotNewer, *version};
    // The user's data folder of an installed program may not exist yet.
    (void)files_.createFolder(std::string(parentFolder(savedFile_)));
    if (!files_.writeFile(savedFile_, *bytes)) return {Outcome::NotSaved, *version};
    return {Outcome::Installed, *version};
}

}  // namespace tarnwk
