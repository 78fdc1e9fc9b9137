#include "scan/FolderReader.h"

#include <algorithm>

#include "common/NameFolding.h"

namespace tarnwk {

struct FolderReader::Node {
    Node* parent = nullptr;
    std::uint32_t indexInParent = 0;
    bool listed = false;
    bool byHelper = false;
    // Open while its children still have to be opened from it.
    std::unique_ptr<platform::Folder> handle;
    // Let go of early to stay within the budget; opened again by name when
    // needed, and then it must be the same folder.
    bool letGo = false;
    std::optional<platform::FileId> id;
    int users = 0;
    std::uint32_t childrenOpened = 0;
    // The subfolders' names in walk order, end to end, and where each ends.
    std::string childNames;
    std::vector<std::uint32_t> childEnds;
    // A child once taken is never taken again, also after the walk let go
    // of its node.
    std::vector<std::unique_ptr<Node>> children;
    std::vector<bool> taken;
    FolderScan scan;

    std::string_view childName(std::uint32_t i) const {
        const std::uint32_t begin = i == 0 ? 0 : childEnds[i - 1];
        return std::string_view(childNames).substr(begin, childEnds[i] - begin);
    }
};

namespace {

// One listing's names and their folded forms, reused by each thread.
struct Sorter {
    platform::FolderListing listing;
    std::string folded;
    std::vector<std::uint32_t> starts;
    std::vector<std::uint32_t> files;
    std::vector<std::uint32_t> folders;

    std::string_view foldedName(std::uint32_t i) const {
        return std::string_view(folded).substr(starts[i], listing.name(i).size());
    }
    // Walk order: by folded name, then by the name itself.
    void sort(std::vector<std::uint32_t>& entries) const {
        std::sort(entries.begin(), entries.end(), [this](std::uint32_t a, std::uint32_t b) {
            const auto fa = foldedName(a), fb = foldedName(b);
            return fa != fb ? fa < fb : listing.name(a) < listing.name(b);
        });
    }
};

}  // namespace

FolderReader::FolderReader(std::unique_ptr<platform::Folder> start, const DefinitionIndex& index,
                           ReaderSettings settings)
    : index_(index), settings_(std::move(settings)), root_(std::make_unique<Node>()) {
    root_->handle = std::move(start);
    openNodes_.push_back(root_.get());
    for (unsigned i = 1; i < settings_.threads; ++i) helpers_.emplace_back([this] { helperLoop(); });
}

FolderReader::~FolderReader() {
    stop();
    for (std::thread& helper : helpers_) helper.join();
}

void FolderReader::stop() {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    work_.notify_all();
    listed_.notify_all();
}

const FolderScan* FolderReader::next() {
    Lock lock(mutex_);
    if (stopping_) return nullptr;
    if (!rootTaken_) {
        rootTaken_ = true;
        lock.unlock();
        list(*root_);
        lock.lock();
        root_->listed = true;
        path_.push_back({root_.get(), 0});
        if (root_->scan.subfolderCount > 0) jobs_.push_back({root_.get(), 0});
        work_.notify_all();
        return &root_->scan;
    }
    Node* parent = nextTarget();
    if (!parent) return nullptr;
    const std::uint32_t index = path_.back().second++;
    Node* child = parent->children[index].get();
    if (!parent->taken[index]) {
        child = &claimChild(*parent, index);
        openAndList(lock, *child);
        child->listed = true;
        if (child->scan.subfolderCount > 0) jobs_.push_back({child, 0});
        work_.notify_all();
    } else {
        listed_.wait(lock, [&] { return child->listed || stopping_; });
        if (!child->listed) return nullptr;
        if (child->byHelper) {
            --listedAhead_;
            work_.notify_all();
        }
    }
    path_.push_back({child, 0});
    return &child->scan;
}

// The folder whose next child the walk enters, after letting go of every
// folder whose subtree is done; null at the end of the walk.
FolderReader::Node* FolderReader::nextTarget() {
    while (!path_.empty()) {
        auto& [node, nextChild] = path_.back();
        if (nextChild < node->scan.subfolderCount) return node;
        Node* done = node;
        path_.pop_back();
        release(*done);
    }
    return nullptr;
}

void FolderReader::helperLoop() {
    Lock lock(mutex_);
    for (;;) {
        work_.wait(lock, [this] {
            return stopping_ || (!jobs_.empty() && listedAhead_ < settings_.readAhead);
        });
        if (stopping_) return;
        const auto [parent, index] = jobs_.back();
        jobs_.pop_back();
        if (index + 1 < parent->scan.subfolderCount) jobs_.push_back({parent, index + 1});
        if (parent->taken[index]) continue;  // the walk took it itself
        Node& child = claimChild(*parent, index);
        child.byHelper = true;
        openAndList(lock, child);
        child.listed = true;
        ++listedAhead_;
        if (child.scan.subfolderCount > 0) jobs_.push_back({&child, 0});
        listed_.notify_all();
    }
}

FolderReader::Node& FolderReader::claimChild(Node& parent, std::uint32_t index) {
    auto node = std::make_unique<Node>();
    node->parent = &parent;
    node->indexInParent = index;
    node->scan.depth = parent.scan.depth + 1;
    node->scan.name = parent.childName(index);
    parent.children[index] = std::move(node);
    parent.taken[index] = true;
    return *parent.children[index];
}

void FolderReader::openAndList(Lock& lock, Node& node) {
    Node& parent = *node.parent;
    std::unique_ptr<platform::Folder> handle;
    if (ensureHandle(parent)) {
        ++parent.users;
        makeRoomForOneMore();
        lock.unlock();
        handle = parent.handle->openFolder(node.scan.name, settings_.stayOnVolume);
        lock.lock();
        --parent.users;
    }
    ++parent.childrenOpened;
    parentDone(parent);
    if (!handle) return;  // skipped: not readable
    node.handle = std::move(handle);
    openNodes_.push_back(&node);
    lock.unlock();
    list(node);
    lock.lock();
    if (node.scan.subfolderCount == 0) closeHandle(node);
}

void FolderReader::list(Node& node) {
    thread_local Sorter sorter;
    FolderScan& scan = node.scan;
    scan.readable = node.handle->list(sorter.listing);
    if (!scan.readable) return;
    const platform::FolderListing& listing = sorter.listing;

    // Every mapping of the folding keeps the byte length, so one buffer of
    // all names folded at once serves every entry.
    sorter.folded.clear();
    sorter.starts.clear();
    sorter.files.clear();
    sorter.folders.clear();
    for (std::uint32_t i = 0; i < listing.size(); ++i) {
        sorter.starts.push_back(static_cast<std::uint32_t>(sorter.folded.size()));
        sorter.folded += listing.name(i);
        (listing.kind(i) == platform::EntryKind::File ? sorter.files : sorter.folders).push_back(i);
    }
    foldNameInPlace(sorter.folded);

    if (settings_.getFiles) {
        sorter.sort(sorter.files);
        scan.fileCount = static_cast<std::uint32_t>(sorter.files.size());
        // The excluded folder is known by its identity; only a folder of its
        // name (or the start folder) is asked for it.
        const bool excluded = settings_.excluded &&
                              (node.parent == nullptr ||
                               foldName(scan.name) == foldName(settings_.excludedName)) &&
                              node.handle->id() == *settings_.excluded;
        for (std::uint32_t position = 0; !excluded && position < scan.fileCount; ++position) {
            const std::uint32_t entry = sorter.files[position];
            const auto matches = index_.find(sorter.foldedName(entry));
            if (matches.empty()) continue;
            const std::string_view name = listing.name(entry);
            scan.findings.push_back({position, std::string(name), node.handle->fileId(name),
                                     {matches.begin(), matches.end()}});
        }
    }

    sorter.sort(sorter.folders);
    scan.subfolderCount = static_cast<std::uint32_t>(sorter.folders.size());
    for (const std::uint32_t entry : sorter.folders) {
        node.childNames += listing.name(entry);
        node.childEnds.push_back(static_cast<std::uint32_t>(node.childNames.size()));
    }
    node.children.resize(scan.subfolderCount);
    node.taken.resize(scan.subfolderCount);
}

// Makes sure `node` is open, opening it again from its nearest open
// ancestor when it was let go of: by name, never through a link, and only
// when each folder let go of on the way is the one it was.
bool FolderReader::ensureHandle(Node& node) {
    if (node.handle) return true;
    std::vector<Node*> chain;
    Node* at = &node;
    for (; !at->handle; at = at->parent) chain.push_back(at);
    platform::Folder* from = at->handle.get();
    std::unique_ptr<platform::Folder> passing;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        Node& step = **it;
        auto opened = from->openFolder(step.scan.name, settings_.stayOnVolume,
                                       step.letGo ? step.id : std::nullopt);
        if (!opened) return false;
        if (step.letGo) {
            step.handle = std::move(opened);
            step.letGo = false;
            openNodes_.push_back(&step);
            from = step.handle.get();
        } else {
            passing = std::move(opened);
            from = passing.get();
        }
    }
    return node.handle != nullptr;
}

// Lets go of the outermost folder no thread is using, when the budget of
// open folders is spent: it is needed again last.
void FolderReader::makeRoomForOneMore() {
    while (openNodes_.size() >= settings_.openFolders) {
        Node* outermost = nullptr;
        for (Node* node : openNodes_) {
            if (node == root_.get() || node->users > 0 || !node->listed) continue;
            if (!outermost || node->scan.depth < outermost->scan.depth) outermost = node;
        }
        if (!outermost) return;
        outermost->id = outermost->handle->id();
        closeHandle(*outermost);
        outermost->letGo = true;
    }
}

void FolderReader::closeHandle(Node& node) {
    if (!node.handle) return;
    node.handle.reset();
    std::erase(openNodes_, &node);
}

void FolderReader::parentDone(Node& parent) {
    if (&parent == root_.get() || parent.users > 0) return;
    if (parent.childrenOpened < parent.scan.subfolderCount) return;
    closeHandle(parent);
    parent.letGo = false;
}

void FolderReader::release(Node& node) {
    std::erase_if(jobs_, [&node](const auto& job) { return job.first == &node; });
    closeHandle(node);
    if (node.parent) node.parent->children[node.indexInParent].reset();
}

}  // namespace tarnwk
