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

// The walk: visits a folder tree depth-first, files of a folder before its
// subfolders, both in name order with case ignored, and records every file
// whose name equals a definition's name part. It serves the event loop before
// every file and every subfolder and returns as soon as it finds the abort
// flag set. Links are never followed; a folder that cannot be read is
// skipped.
class Walk {
public:
    Walk(platform::FileSystem& files, const DefinitionsList& definitions,
         const DefinitionIndex& index, ScanView& view, ScanState& state);

    // Files in this folder are examined and counted but never reported: the
    // quarantine keeps found files under their own names.
    void setExcludedFolder(std::optional<platform::FileId> folder) { excluded_ = folder; }
    // Keep each walk on the file system of its starting folder.
    void setStayOnFileSystem(bool stay) { stayOnFileSystem_ = stay; }

    // Walks the folder `Location` and everything below it. With `GetFiles`
    // false only the folders are visited.
    void Peek(const std::string& Location, bool GetFiles);

private:
    struct PendingFolders {
        std::string parent;
        std::vector<std::string> names;
        std::size_t next = 0;
    };

    bool yieldAndCheck();
    // One folder: label, files, and its subfolders pushed for later. False
    // when the walk was aborted.
    bool visitFolder(std::string location, bool getFiles, bool isStart);
    bool examineFiles(const platform::FolderContents& folder);
    void examineFile(const platform::FolderContents& folder, const std::string& name,
                     std::string_view foldedName, bool reportable);
    void recordFinding(const platform::FolderContents& folder, const std::string& fileName,
                       std::uint32_t entryIndex);

    platform::FileSystem& files_;
    const DefinitionsList& definitions_;
    const DefinitionIndex& index_;
    ScanView& view_;
    ScanState& state_;
    std::optional<platform::FileId> excluded_;
    bool stayOnFileSystem_ = false;
    std::uint64_t startDevice_ = 0;
    std::vector<PendingFolders> pending_;
};

}  // namespace tarnwk
