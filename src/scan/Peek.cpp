#include "scan/Peek.h"

#include <limits>
#include <utility>

#include "scan/FolderLabel.h"
#include "scan/FolderReader.h"

namespace tarnwk {
namespace {

// Folders listed ahead of the walk at most, whatever the tree's width.
constexpr std::size_t kReadAhead = 256;

}  // namespace

Walk::Walk(platform::FileSystem& files, const DefinitionsList& definitions,
           const DefinitionIndex& index, ScanView& view, ScanState& state)
    : files_(files), definitions_(definitions), index_(index), view_(view), state_(state) {}

void Walk::setExcludedFolder(const std::string& path) {
    const auto folder = files_.openFolder(path);
    excludedId_ = folder ? std::optional(folder->id()) : std::nullopt;
    excludedName_ = fileName(path);
}

bool Walk::yieldAndCheck() {
    view_.doEvents();
    return !state_.abortScan;
}

void Walk::Peek(const std::string& Location, bool GetFiles) {
    if (!yieldAndCheck()) return;
    // A blank location names no folder, never the current one.
    if (trimBlanks(Location).empty()) return;
    std::unique_ptr<platform::Folder> start = files_.openFolder(Location);
    if (!start) return;  // a folder that cannot be read is skipped
    location_ = {files_.fullPath(Location), start->id(), {}, {}};
    FolderReader reader(std::move(start), index_,
                        {GetFiles, stayOnVolume_, excludedId_, excludedName_, threads_,
                         files_.openFolderBudget(), kReadAhead});
    path_ = location_.start;
    pathLengths_.assign(1, path_.size());

    // Per level being walked: the subfolders still to enter.
    std::vector<std::uint32_t> toEnter;
    for (const FolderScan* folder = reader.next(); folder;) {
        if (folder->readable) {
            if (!visit(*folder)) return;
            toEnter.push_back(folder->subfolderCount);
        }
        while (!toEnter.empty() && toEnter.back() == 0) toEnter.pop_back();
        if (toEnter.empty()) return;
        --toEnter.back();
        // Before the subfolder is entered, then its own first check point.
        if (!yieldAndCheck() || !yieldAndCheck()) return;
        folder = reader.next();
        if (folder) enter(folder->depth, folder->name);
    }
}

void Walk::enter(std::uint32_t depth, const std::string& name) {
    pathLengths_.resize(depth);
    path_.resize(pathLengths_.back());
    if (!isPathSeparator(path_.back())) path_ += kPathSeparator;
    path_ += name;
    pathLengths_.push_back(path_.size());
    location_.folders.resize(depth - 1);
    location_.folders.push_back(name);
}

bool Walk::visit(const FolderScan& folder) {
    view_.showFolder(folderLabel(path_, kPathSeparator));
    view_.doEvents();
    if (!yieldAndCheck()) return false;

    auto finding = folder.findings.begin();
    for (std::uint32_t position = 0; position < folder.fileCount; ++position) {
        if (!yieldAndCheck()) return false;
        if (finding != folder.findings.end() && finding->position == position) {
            for (const std::uint32_t entry : finding->entries) recordFinding(*finding, entry);
            ++finding;
        }
        if (state_.objectsScanned < std::numeric_limits<std::int32_t>::max())
            ++state_.objectsScanned;
        view_.showObjectsScanned(state_.objectsScanned);
        view_.showAdwareFound(view_.foundItemCount());
    }
    // The subfolders are taken once, before the first of them is entered.
    for (std::uint32_t i = 0; i < folder.subfolderCount; ++i)
        if (!yieldAndCheck()) return false;
    return true;
}

void Walk::recordFinding(const FileFinding& file, std::uint32_t entryIndex) {
    const DefinitionParts parts = *splitDefinition(definitions_.entry(entryIndex));
    std::string shown = path_;
    shown += kPathSeparator;
    shown += parts.namePart;

    state_.scanReport += "\r\nAdware found >";
    state_.scanReport += shown;

    shown += " > ";
    shown += parts.labelPart;
    FileLocation location = location_;
    location.fileName = file.name;
    view_.addFoundItem(FoundItem{std::move(shown), joinPath(path_, file.name),
                                 std::string(parts.namePart), file.id, std::move(location),
                                 entryIndex});
}

}  // namespace tarnwk
