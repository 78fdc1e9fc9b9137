#include "scan/Peek.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "common/NameFolding.h"
#include "scan/FolderLabel.h"

namespace tarnwk {
namespace {

constexpr char kSep = kPathSeparator;

// A name with its folded form, so sorting and matching fold each name once.
struct FoldedName {
    std::string folded;
    const std::string* name;
};

std::vector<FoldedName> sortedByName(const std::vector<std::string>& names) {
    std::vector<FoldedName> sorted;
    sorted.reserve(names.size());
    for (const auto& name : names) sorted.push_back({foldName(name), &name});
    std::sort(sorted.begin(), sorted.end(), [](const FoldedName& a, const FoldedName& b) {
        if (a.folded != b.folded) return a.folded < b.folded;
        return *a.name < *b.name;
    });
    return sorted;
}

}  // namespace

Walk::Walk(platform::FileSystem& files, const DefinitionsList& definitions,
           const DefinitionIndex& index, ScanView& view, ScanState& state)
    : files_(files), definitions_(definitions), index_(index), view_(view), state_(state) {}

bool Walk::yieldAndCheck() {
    view_.doEvents();
    return !state_.abortScan;
}

void Walk::Peek(const std::string& Location, bool GetFiles) {
    pending_.clear();
    if (!visitFolder(Location, GetFiles, true)) return;
    while (!pending_.empty()) {
        PendingFolders& top = pending_.back();
        if (top.next == top.names.size()) {
            pending_.pop_back();
            continue;
        }
        if (!yieldAndCheck()) return;
        std::string path = joinPath(top.parent, top.names[top.next++]);
        if (!visitFolder(std::move(path), GetFiles, false)) return;
    }
}

bool Walk::visitFolder(std::string location, bool getFiles, bool isStart) {
    if (!yieldAndCheck()) return false;
    if (location.empty() || location.back() != kSep) location += kSep;

    // A folder that cannot be read is skipped whole; nothing is walked in its
    // place.
    const std::optional<platform::FolderContents> folder = files_.readFolder(location, isStart);
    if (!folder) return true;
    if (isStart)
        startDevice_ = folder->id.device;
    else if (stayOnFileSystem_ && folder->id.device != startDevice_)
        return true;

    view_.showFolder(folderLabel(folder->path, kSep));
    view_.doEvents();
    if (!yieldAndCheck()) return false;

    if (getFiles && !examineFiles(*folder)) return false;

    // The subfolders are taken once, before the first of them is entered.
    PendingFolders subfolders{folder->path, {}, 0};
    subfolders.names.reserve(folder->subfolders.size());
    for (const FoldedName& sub : sortedByName(folder->subfolders)) {
        if (!yieldAndCheck()) return false;
        subfolders.names.push_back(*sub.name);
    }
    if (!subfolders.names.empty()) pending_.push_back(std::move(subfolders));
    return true;
}

bool Walk::examineFiles(const platform::FolderContents& folder) {
    const bool reportable = !excluded_ || folder.id != *excluded_;
    for (const FoldedName& file : sortedByName(folder.files)) {
        if (!yieldAndCheck()) return false;
        examineFile(folder, *file.name, file.folded, reportable);
    }
    return true;
}

void Walk::examineFile(const platform::FolderContents& folder, const std::string& name,
                       std::string_view foldedName, bool reportable) {
    if (reportable) {
        for (const std::uint32_t entry : index_.find(foldedName))
            recordFinding(folder, name, entry);
    }
    if (state_.objectsScanned < std::numeric_limits<std::int32_t>::max()) ++state_.objectsScanned;
    view_.showObjectsScanned(state_.objectsScanned);
    view_.showAdwareFound(view_.foundItemCount());
}

void Walk::recordFinding(const platform::FolderContents& folder, const std::string& fileName,
                         std::uint32_t entryIndex) {
    const DefinitionParts parts = *splitDefinition(definitions_.entry(entryIndex));
    std::string shown = folder.path;
    shown += kSep;
    shown += parts.namePart;

    state_.scanReport += "\r\nAdware found >";
    state_.scanReport += shown;

    shown += " > ";
    shown += parts.labelPart;
    // The identity is taken per finding only, so the walk itself stays cheap.
    std::string path = joinPath(folder.path, fileName);
    std::optional<platform::FileId> id = files_.fileId(path);
    view_.addFoundItem(
        FoundItem{std::move(shown), std::move(path), std::string(parts.namePart), id});
}

}  // namespace tarnwk
