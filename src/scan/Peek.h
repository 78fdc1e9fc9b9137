#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/DefinitionIndex.h"
#include "common/DefinitionsList.h"
#include "common/ScanState.h"
#include "platform/platform.h"
#include "scan/ScanView.h"

namespace tarnwk {

struct FileFinding;
struct FolderScan;

// The walk: visits a folder tree depth-first, files of a folder before its
// subfolders, both in name order with case ignored, and records every file
// whose name equals a definition's name part. It serves the event loop before
// every file and every subfolder and returns as soon as it finds the abort
// flag set. Every folder below the start is opened from its parent by name,
// never through a link, so nothing outside the start folder is walked, at
// any depth; a folder that cannot be read is skipped.
class Walk {
public:
    Walk(platform::FileSystem& files, const DefinitionsList& definitions,
         const DefinitionIndex& index, ScanView& view, ScanState& state);

    // Files in this folder are examined and counted but never reported: the
    // quarantine keeps found files under their own names.
    void setExcludedFolder(const std::string& path);
    // Keep each walk on the volume of its starting folder.
    void setStayOnFileSystem(bool stay) { stayOnVolume_ = stay; }
    // Threads that list folders, the walk's own included: more list the
    // folders ahead while the walk examines the current one.
    void setThreads(unsigned threads) { threads_ = threads < 1 ? 1 : threads; }

    // Walks the folder `Location` and everything below it. With `GetFiles`
    // false only the folders are visited.
    void Peek(const std::string& Location, bool GetFiles);

private:
    bool yieldAndCheck();
    // One folder: label, files, subfolders counted. False when aborted.
    bool visit(const FolderScan& folder);
    void enter(std::uint32_t depth, const std::string& name);
    void recordFinding(const FileFinding& file, std::uint32_t entryIndex);

    platform::FileSystem& files_;
    const DefinitionsList& definitions_;
    const DefinitionIndex& index_;
    ScanView& view_;
    ScanState& state_;
    std::optional<platform::FileId> excludedId_;
    std::string excludedName_;
    bool stayOnVolume_ = false;
    unsigned threads_ = 1;
    // The folder being visited: its path, the path's length at each depth,
    // and the way back to it from the start.
    std::string path_;
    std::vector<std::size_t> pathLengths_;
    FileLocation location_;
};

}  // namespace tarnwk
