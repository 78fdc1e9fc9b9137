#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/DefinitionIndex.h"
#include "platform/platform.h"

namespace tarnwk {

// A file of a folder whose name a definition names.
struct FileFinding {
    // Its place among the folder's files, in walk order.
    std::uint32_t position = 0;
    // Its name on disk and its identity when it was listed.
    std::string name;
    std::optional<platform::FileId> id;
    // The matching definition entries, in definitions order.
    std::vector<std::uint32_t> entries;
};

// One folder of a walk as the reader hands it over.
struct FolderScan {
    std::uint32_t depth = 0;
    // Its own name; empty for the start folder.
    std::string name;
    // False for a folder skipped whole: it cannot be opened or read, or it
    // lies on another volume where the walk stays on its own.
    bool readable = false;
    // The files examined in it, and the findings among them (none in the
    // excluded folder, whose files are examined and counted only).
    std::uint32_t fileCount = 0;
    std::vector<FileFinding> findings;
    std::uint32_t subfolderCount = 0;
};

struct ReaderSettings {
    bool getFiles = true;
    bool stayOnVolume = false;
    // The folder whose files are never reported, and its name (only a folder
    // of that name, or the start folder, can be it).
    std::optional<platform::FileId> excluded;
    std::string excludedName;
    // Threads that list folders, the caller's own included.
    unsigned threads = 1;
    // Folders held open at once (a deep tree lets go of the outermost and
    // opens them again, by name and checked by identity, when needed).
    std::size_t openFolders = 64;
    // Folders listed ahead of the walk at most.
    std::size_t readAhead = 256;
};

// Lists the folders of a tree in walk order: depth first, a folder's files
// before its subfolders, names in order with case ignored. Every folder is
// opened from its parent's handle by name, never through a link, so nothing
// outside the start folder is ever listed. With more than one thread, helper
// threads list the folders the walk will come to next while it works on the
// current one; what comes out, and in which order, is the same.
class FolderReader {
public:
    FolderReader(std::unique_ptr<platform::Folder> start, const DefinitionIndex& index,
                 ReaderSettings settings);
    ~FolderReader();
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    // The next folder in walk order; null once every folder has come. Valid
    // until the next call.
    const FolderScan* next();
    // Stops the helper threads at once; nothing more comes.
    void stop();

private:
    struct Node;
    using Lock = std::unique_lock<std::mutex>;

    Node* nextTarget(Lock& lock);
    void waitForListing(Lock& lock, Node& node);
    void addJob(Node* node);
    void helperLoop();
    void listAhead(Lock& lock, std::uint32_t most);
    // Opens `node` from its parent's handle and lists it. Called with the
    // lock held by a thread that has claimed the node.
    void openAndList(Lock& lock, Node& node);
    void list(Node& node);
    Node& claimChild(Node& parent, std::uint32_t index);
    bool ensureHandle(Node& node);
    void makeRoomForOneMore();
    void closeHandle(Node& node);
    void parentDone(Node& parent);
    void release(Node& node);

    const DefinitionIndex& index_;
    const ReaderSettings settings_;
    std::mutex mutex_;
    std::condition_variable listed_;
    std::condition_variable work_;
    std::unique_ptr<Node> root_;
    // The walk's position: each level's node and its next child.
    std::vector<std::pair<Node*, std::uint32_t>> path_;
    bool rootTaken_ = false;
    // Children still to list, as (parent, first child not yet taken); the
    // newest on top, so helpers go depth first too.
    std::vector<std::pair<Node*, std::uint32_t>> jobs_;
    std::vector<Node*> openNodes_;
    std::size_t listedAhead_ = 0;
    // Helpers pause at a full read-ahead until half of it is used.
    bool throttled_ = false;
    int idleHelpers_ = 0;
    std::atomic<bool> walkWaiting_ = false;
    bool stopping_ = false;
    std::vector<std::thread> helpers_;
};

}  // namespace tarnwk
