#include "update/DefinitionsUpdater.h"

#include "update/Versions.h"

namespace tarnwk {

bool DownloadFile(platform::Downloader& downloader, const std::string& url,
                  const std::string& localPath) {
    return downloader.download(url, localPath);
}

void KillFile(platform::FileSystem& files, const std::string& path) {
    // A file that is already gone is what was wanted.
    (void)files.removeFile(path);
}

DefinitionsUpdater::DefinitionsUpdater(platform::FileSystem& files,
                                       platform::Downloader& downloader, std::string referenceFile,
                                       std::string serverBase)
    : files_(files),
      downloader_(downloader),
      referenceFile_(std::move(referenceFile)),
      serverBase_(std::move(serverBase)) {}

std::string DefinitionsUpdater::beside(std::string_view name) const {
    const std::string_view folder = parentFolder(referenceFile_);
    return joinPath(folder.empty() ? "." : folder, name);
}

DefinitionsUpdater::Versions DefinitionsUpdater::checkVersion() {
    const std::string versionCopy = beside("upd.txt");
    const bool fetched =
        DownloadFile(downloader_, serverBase_ + std::string(kVersionFilePath), versionCopy);
    const auto versionText = fetched ? files_.readFile(versionCopy) : std::nullopt;
    KillFile(files_, versionCopy);
    const auto published = versionText ? publishedVersion(*versionText) : std::nullopt;
    if (!published) return {};

    const auto referenceText = files_.readFile(referenceFile_);
    const auto local = referenceText ? localVersion(*referenceText) : std::nullopt;
    if (!local) return {};
    return {*local < *published ? Check::Newer : Check::UpToDate, *local, *published};
}

bool DefinitionsUpdater::downloadDefinitions() {
    const std::string download = beside("ref.tmp");
    bool replaced = false;
    if (DownloadFile(downloader_, serverBase_ + std::string(kReferenceFilePath), download)) {
        const auto bytes = files_.readFile(download);
        // writeFile replaces ref.dat whole, never half.
        replaced =
            bytes && isValidReferenceFile(*bytes) && files_.writeFile(referenceFile_, *bytes);
    }
    KillFile(files_, download);
    return replaced;
}

}  // namespace tarnwk
