#pragma once

#include <string>

#include "platform/platform.h"

namespace tarnwk {

inline constexpr std::string_view kVersionFilePath = "/products/twk/version.txt";
inline constexpr std::string_view kReferenceFilePath = "/products/twk/ref.dat";

// Fetches a resource to a local file; true when the whole of it arrived.
bool DownloadFile(platform::Downloader& downloader, const std::string& url,
                  const std::string& localPath);

// Deletes a file; a failure is not reported.
void KillFile(platform::FileSystem& files, const std::string& path);

// Compares the published definitions version with the local reference file
// and replaces that file with the published one. Works with upd.txt and
// ref.tmp beside the reference file; neither is left behind.
class DefinitionsUpdater {
public:
    DefinitionsUpdater(platform::FileSystem& files, platform::Downloader& downloader,
                       std::string referenceFile, std::string serverBase);

    enum class Check { Unavailable, Newer, UpToDate };
    struct Versions {
        Check check = Check::Unavailable;
        double local = 0;
        double published = 0;
    };
    // The version file could not be fetched or read, or the local file has
    // no version: Unavailable.
    Versions checkVersion();

    // Fetches the published reference file and puts it in place of the local
    // one, whole, only when it is a valid reference file. On failure the
    // local file is untouched.
    bool downloadDefinitions();

private:
    std::string beside(std::string_view name) const;

    platform::FileSystem& files_;
    platform::Downloader& downloader_;
    std::string referenceFile_;
    std::string serverBase_;
};

}  // namespace tarnwk
