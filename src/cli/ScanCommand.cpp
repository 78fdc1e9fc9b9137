#include "cli/ScanCommand.h"

#include <charconv>
#include <chrono>
#include <thread>
#include <cstdio>

#include "common/AppIdentity.h"
#include "common/DefinitionIndex.h"
#include "common/ServerAddress.h"
#include "scan/Peek.h"
#include "scan/ReferenceFile.h"
#include "update/DefinitionsUpdater.h"

namespace tarnwk::cli {
namespace {

// Prints each finding the moment it is made; the labels of a window have no
// place on a terminal.
class ConsoleScanView final : public ScanView {
public:
    void doEvents() override {}
    void showFolder(std::string_view) override {}
    void showObjectsScanned(std::int32_t) override {}
    void showAdwareFound(std::size_t) override {}
    void addFoundItem(FoundItem item) override {
        std::fwrite(item.text.data(), 1, item.text.size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
        ++found_;
    }
    std::size_t foundItemCount() const override { return found_; }

private:
    std::size_t found_ = 0;
};

std::string besideExecutable(platform::FileSystem& files, std::string_view name) {
    return joinPath(files.applicationFolder(), name);
}

bool foldersReadable(const ScanOptions& options, platform::FileSystem& files) {
    bool readable = true;
    platform::FolderListing listing;
    for (const ScanTarget& target : options.targets) {
        if (target.kind != ScanTarget::Kind::Folder) continue;
        const auto folder = files.openFolder(target.folder);
        if (folder && folder->list(listing)) continue;
        std::fprintf(stderr, "tarnwk-scan: cannot read the folder %s\n", target.folder.c_str());
        readable = false;
    }
    return readable;
}

// Brings the definitions up to date without questions; false on failure.
bool updateDefinitions(platform::FileSystem& files, platform::Downloader& downloader,
                       const std::string& referenceFile) {
    DefinitionsUpdater updater(files, downloader, referenceFile, serverBaseAddress());
    const auto versions = updater.checkVersion();
    switch (versions.check) {
        case DefinitionsUpdater::Check::Unavailable:
            std::fprintf(
                stderr,
                "tarnwk-scan: the published definitions version could not be read from %s\n",
                serverBaseAddress().c_str());
            return false;
        case DefinitionsUpdater::Check::UpToDate:
            std::printf("tarnwk-scan: definitions are up to date (version %g)\n", versions.local);
            return true;
        case DefinitionsUpdater::Check::Newer:
            break;
    }
    if (!updater.downloadDefinitions()) {
        std::fprintf(
            stderr, "tarnwk-scan: the new definitions could not be retrieved; version %g is kept\n",
            versions.local);
        return false;
    }
    std::printf("tarnwk-scan: definitions updated from version %g to %g\n", versions.local,
                versions.published);
    return true;
}

}  // namespace

const char* const kUsage =
    "Usage: tarnwk-scan [--definitions FILE] [--threads N] [--update] [--quick] [--full] [PATH...]\n"
    "       tarnwk-scan [--definitions FILE] --list-definitions\n"
    "       tarnwk-scan [--definitions FILE] --update\n"
    "\n"
    "Looks for unwanted programs by file name and prints each finding as\n"
    "\"FOLDER/NAME > LABEL\", one per line. Targets are walked in the order given.\n"
    "\n"
    "  --definitions FILE  the reference file (default: ref.dat beside tarnwk-scan)\n"
    "  --threads N         folders listed by N threads at once (default: one per core);\n"
    "                      the output is the same for any N\n"
    "  --quick             walk the home folder\n"
    "  --full              walk every local file system\n"
    "  --list-definitions  print the definitions list, header first, and stop\n"
    "  --update            fetch newer definitions from the maker's server first\n"
    "                      (server: $TARNWK_SERVER, or the address built in)\n"
    "  --help              show this text\n"
    "\n"
    "Exit status: 0 nothing found, 1 something found, 2 error.\n";

std::optional<ScanOptions> parseScanOptions(const std::vector<std::string>& arguments) {
    ScanOptions options;
    bool onlyPaths = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (onlyPaths || arg.empty() || arg[0] != '-' || arg == "-") {
            // An empty or blank PATH (an unset variable in a script) names no
            // folder: it is never taken for the root or the current folder.
            if (trimBlanks(arg).empty()) {
                std::fprintf(stderr, "tarnwk-scan: an empty PATH names no folder\n%s", kUsage);
                return std::nullopt;
            }
            options.targets.push_back({ScanTarget::Kind::Folder, arg});
        } else if (arg == "--") {
            onlyPaths = true;
        } else if (arg == "--definitions" && i + 1 < arguments.size()) {
            options.definitionsPath = arguments[++i];
        } else if (arg.starts_with("--definitions=")) {
            options.definitionsPath = arg.substr(std::string_view("--definitions=").size());
        } else if (arg == "--threads" && i + 1 < arguments.size()) {
            const std::string& count = arguments[++i];
            const auto [end, error] =
                std::from_chars(count.data(), count.data() + count.size(), options.threads);
            if (error != std::errc() || end != count.data() + count.size() || options.threads < 1 ||
                options.threads > 64) {
                std::fprintf(stderr, "tarnwk-scan: --threads takes a number from 1 to 64\n");
                return std::nullopt;
            }
        } else if (arg == "--quick") {
            options.targets.push_back({ScanTarget::Kind::Quick, {}});
        } else if (arg == "--full") {
            options.targets.push_back({ScanTarget::Kind::Full, {}});
        } else if (arg == "--list-definitions") {
            options.listDefinitions = true;
        } else if (arg == "--update") {
            options.update = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else {
            std::fprintf(stderr, "tarnwk-scan: unknown or incomplete option %s\n%s", arg.c_str(),
                         kUsage);
            return std::nullopt;
        }
    }
    if (!options.help && !options.listDefinitions && !options.update && options.targets.empty()) {
        std::fprintf(stderr, "tarnwk-scan: nothing to scan\n%s", kUsage);
        return std::nullopt;
    }
    return options;
}

int runScanCommand(const ScanOptions& options, platform::FileSystem& files,
                   platform::Messages& messages, platform::Downloader& downloader) {
    if (options.help) {
        std::fputs(kUsage, stdout);
        return kExitClean;
    }
    if (!foldersReadable(options, files)) return kExitError;

    const std::string definitionsPath = options.definitionsPath.empty()
                                            ? besideExecutable(files, kReferenceFileName)
                                            : options.definitionsPath;
    if (options.update && !updateDefinitions(files, downloader, definitionsPath)) return kExitError;
    if (options.update && !options.listDefinitions && options.targets.empty()) return kExitClean;

    const DefinitionsList definitions = loadReferenceFile(files, messages, definitionsPath);
    if (options.listDefinitions) {
        for (const std::string& entry : definitions.entries()) std::printf("%s\n", entry.c_str());
        return kExitClean;
    }

    const auto started = std::chrono::steady_clock::now();
    const DefinitionIndex index(definitions);
    ConsoleScanView view;
    ScanState state;
    Walk walk(files, definitions, index, view, state);
    walk.setExcludedFolder(besideExecutable(files, kQuarantineFolderName));
    walk.setThreads(options.threads);
    for (const ScanTarget& target : options.targets) {
        walk.setStayOnFileSystem(false);
        switch (target.kind) {
            case ScanTarget::Kind::Folder:
                walk.Peek(target.folder, true);
                break;
            case ScanTarget::Kind::Quick:
                walk.Peek(files.quickScanFolder(), true);
                break;
            case ScanTarget::Kind::Full:
                for (const platform::Drive& drive : files.driveList()) {
                    walk.setStayOnFileSystem(drive.stayOnVolume);
                    walk.Peek(drive.root, true);
                }
                break;
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::fprintf(stderr, "tarnwk-scan: %d files examined, %zu found, %.2f seconds\n",
                 state.objectsScanned, view.foundItemCount(), seconds);
    return view.foundItemCount() > 0 ? kExitFound : kExitClean;
}

}  // namespace tarnwk::cli
