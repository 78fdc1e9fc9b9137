#include "cli/ScanCommand.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "cli/ConsoleScanView.h"
#include "cli/UpdateCommand.h"
#include "common/AppIdentity.h"
#include "common/DefinitionIndex.h"
#include "common/ServerAddress.h"
#include "scan/Peek.h"
#include "scan/ReferenceFile.h"

namespace tarnwk::cli {
namespace {

bool foldersReadable(const ScanOptions& options, platform::FileSystem& files) {
    bool readable = true;
    platform::FolderListing listing;
    for (const ScanTarget& target : options.targets) {
        if (target.kind != ScanTarget::Kind::Folder) continue;
        const auto folder = files.openFolder(target.folder);
        if (folder && folder->list(listing)) continue;
        std::fprintf(stderr, "tarnwk-scan: cannot read the folder %s\n",
                     escapeLine(target.folder).c_str());
        readable = false;
    }
    return readable;
}

// A scan with no definition could not find anything: that is no clean bill.
bool hasDefinitions(const DefinitionsList& definitions) {
    for (std::size_t i = 1; i < definitions.count(); ++i) {
        const auto parts = splitDefinition(definitions.entry(i));
        if (parts && !parts->namePart.empty()) return true;
    }
    return false;
}

int printVersions(const std::string& definitionsPath, platform::FileSystem& files,
                  ConsoleOutput& out) {
    std::string text = "tarnwk-scan " + mainWindowCaption().substr(kAppTitle.size() + 1) + " (" +
                       std::string(kFileVersion) + ")\ndefinitions: " + escapeLine(definitionsPath);
    const auto bytes = files.readFile(definitionsPath);
    const auto version = bytes ? referenceFileVersion(*bytes) : std::nullopt;
    char number[32];
    if (version) std::snprintf(number, sizeof number, "%g", *version);
    text += !bytes    ? ", not found\n"
            : version ? ", version " + std::string(number) + "\n"
                      : ", declares no version\n";
    out.write(text);
    return out.failed() ? kExitError : kExitClean;
}

}  // namespace

int runScanCommand(const ScanOptions& options, CommandServices& services) {
    platform::FileSystem& files = services.files;
    ConsoleOutput out(stdout, &services.terminal);
    const auto ended = [&](int status) {
        if (out.failed()) {
            std::fprintf(stderr, "tarnwk-scan: cannot write to standard output: %s\n",
                         out.failure().c_str());
            return kExitError;
        }
        if (services.stopSignal != 0) return 128 + services.stopSignal;
        return status;
    };
    if (options.help) {
        out.write(kUsage);
        return ended(kExitClean);
    }
    // The definitions downloaded into the program's folder, else those that
    // came with it; an update goes to the former.
    const platform::ProgramFolders folders = files.programFolders();
    const std::string savedPath =
        options.definitionsPath.value_or(joinPath(folders.data, kReferenceFileName));
    const std::string definitionsPath =
        options.definitionsPath ? savedPath
                                : definitionsInUse(files, savedPath, folders.bundledDefinitions);
    if (options.version) return ended(printVersions(definitionsPath, files, out));
    if (!foldersReadable(options, files)) return kExitError;

    if (options.update && !updateDefinitions(files, services.downloader, definitionsPath, savedPath,
                                             serverBaseAddress()))
        return ended(kExitError);
    if (options.update && !options.listDefinitions && options.targets.empty())
        return ended(kExitClean);

    // After an update the downloaded file is the one in use.
    const std::string inUse =
        options.update && files.fileLength(savedPath).status == platform::LengthStatus::Ok
            ? savedPath
            : definitionsPath;
    const DefinitionsList definitions = loadReferenceFile(files, services.messages, inUse);
    if (options.listDefinitions) {
        const char end = options.format == OutputFormat::Null ? '\0' : '\n';
        for (const std::string& entry : definitions.entries())
            out.write((options.format == OutputFormat::Null ? entry : escapeLine(entry)) + end);
        return ended(kExitClean);
    }
    if (!hasDefinitions(definitions)) {
        std::fprintf(stderr, "tarnwk-scan: %s holds no definitions after its header\n",
                     escapeLine(definitionsPath).c_str());
        return kExitError;
    }
    const std::string header(definitions.header());
    if (!header.starts_with("Ver") || !referenceFileVersion(header))
        std::fprintf(stderr,
                     "tarnwk-scan: warning: %s does not begin with Ver and a version number; "
                     "is it a definitions file?\n",
                     escapeLine(definitionsPath).c_str());

    const auto started = std::chrono::steady_clock::now();
    const DefinitionIndex index(definitions);
    ScanState state;
    ConsoleScanView view(out, options.format, definitions, state, services.stopSignal);
    if (!options.quiet) view.showProgressOn(services.terminal);
    Walk walk(files, definitions, index, view, state);
    walk.setExcludedFolder(joinPath(folders.data, kQuarantineFolderName));
    walk.setThreads(options.threads ? options.threads : std::thread::hardware_concurrency());
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
    view.finish(seconds);
    if (!options.quiet)
        std::fprintf(stderr, "tarnwk-scan: %d files examined, %zu found, %.2f seconds%s\n",
                     state.objectsScanned, view.foundItemCount(), seconds,
                     services.stopSignal != 0 ? " (interrupted)" : "");
    return ended(view.foundItemCount() > 0 ? kExitFound : kExitClean);
}

}  // namespace tarnwk::cli
