#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace tarnwk {

inline constexpr std::string_view kVersionFilePath = "/products/twk/version.txt";
inline constexpr std::string_view kReferenceFilePath = "/products/twk/ref.dat";
// A version file is a few bytes; a reference file of tens of thousands of
// definitions stays far below its limit.
inline constexpr std::size_t kVersionFileLimit = 4 * 1024;
inline constexpr std::size_t kReferenceFileLimit = 64 * 1024 * 1024;
inline constexpr int kVersionFileSeconds = 10;
inline constexpr int kReferenceFileSeconds = 120;

// `DownloadFile`: fetches a resource whole, at most `maxBytes` of it within
// `seconds`; nullopt when it did not arrive complete.
std::optional<std::string> DownloadFile(platform::Downloader& downloader, const std::string& url,
                                        std::size_t maxBytes, int seconds);

// Compares the published definitions version with the local reference file
// and replaces that file with the published one. Nothing is written but the
// reference file itself, and that only whole.
class DefinitionsUpdater {
public:
    // Compares against `referenceFile`; a new file goes to `savedFile` (the
    // same file, or the user's copy of an installed program's definitions).
    DefinitionsUpdater(platform::FileSystem& files, platform::Downloader& downloader,
                       std::string referenceFile, std::string savedFile, std::string serverBase);

    enum class Check {
        PublishedUnavailable,  // the version file could not be fetched or read
        LocalUnreadable,       // the local file is missing or declares no version
        Newer,
        UpToDate,
    };
    struct Versions {
        Check check = Check::PublishedUnavailable;
        std::optional<double> local;
        double published = 0;
    };
    Versions checkVersion();

    enum class Outcome {
        Installed,
        NotRetrieved,    // no complete answer from the server
        NotDefinitions,  // what came is no reference file (no "Ver" and a number)
        NotNewer,        // it declares a version not above the local one
        NotSaved,        // the local file could not be replaced
    };
    struct Download {
        Outcome outcome = Outcome::NotRetrieved;
        // The version the downloaded file declares, when it declares one.
        double version = 0;
    };
    // Fetches the published reference file and puts it in place of the local
    // one only when it is a reference file newer than `local` (any, without
    // one). On failure the local file is untouched.
    Download downloadDefinitions(std::optional<double> local);

private:
    platform::FileSystem& files_;
    platform::Downloader& downloader_;
    std::string referenceFile_;
    std::string savedFile_;
    std::string serverBase_;
};

}  // namespace tarnwk
