#include "scan/FolderReader.h"

#include <algorithm>

#include "common/NameFolding.h"

namespace tarnwk {

struct FolderReader::Node {
    Node* parent = nullptr;
    std::uint32_t indexInParent = 0;
    // Set, under the lock, once the listing is complete.
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
        if (root_->scan.subfolderCount > 0) addJob(root_.get());
        return &root_->scan;
    }
    Node* parent = nextTarget(lock);
    if (!parent) return nullptr;
    const std::uint32_t index = path_.back().second++;
    Node* child = parent->children[index].get();
    if (!parent->taken[index]) {
        child = &claimChild(*parent, index);
        openAndList(lock, *child);
        child->listed = true;
        if (child->scan.subfolderCount > 0) addJob(child);
    } else {
        if (!child->listed) waitForListing(lock, *child);
        if (!child->listed) return nullptr;
        // Helpers that ran a full read-ahead ahead go on once half is used.
        if (child->byHelper && --listedAhead_ == settings_.readAhead / 2 && throttled_) {
            throttled_ = false;
            work_.notify_all();
        }
    }
    path_.push_back({child, 0});
    return &child->scan;
}

// The folder whose next child the walk enters, after letting go of every
// folder whose subtree is done; null at the end of the walk.
FolderReader::Node* FolderReader::nextTarget(Lock& lock) {
    while (!path_.empty()) {
        auto& [node, nextChild] = path_.back();
        if (nextChild < node->scan.subfolderCount) return node;
        Node* done = node;
        path_.pop_back();
        // A helper may still be finishing a batch of its children.
        if (done->users > 0) {
            walkWaiting_ = true;
            listed_.wait(lock, [&] { return done->users == 0 || stopping_; });
            walkWaiting_ = false;
        }
        release(*done);
    }
    return nullptr;
}

// While a helper lists the folder the walk needs next, the walk lists
// another one ahead itself; with nothing to list it waits.
void FolderReader::waitForListing(Lock& lock, Node& node) {
    while (!node.listed && !stopping_) {
        if (!jobs_.empty() && !throttled_) {
            listAhead(lock, 1);
            continue;
        }
        walkWaiting_ = true;
        listed_.wait(lock, [&] { return node.listed || stopping_; });
        walkWaiting_ = false;
    }
}

void FolderReader::addJob(Node* node) {
    jobs_.push_back({node, 0});
    if (idleHelpers_ > 0) work_.notify_one();
}

void FolderReader::helperLoop() {
    Lock lock(mutex_);
    for (;;) {
        while (!stopping_ && (jobs_.empty() || throttled_)) {
            ++idleHelpers_;
            work_.wait(lock);
            --idleHelpers_;
        }
        if (stopping_) return;
        listAhead(lock, 4);
    }
}

// Takes up to `most` siblings of the newest job, opens and lists each outside
// the lock and hands it over, under the lock, the moment it is listed.
// Called with the lock held and a job waiting.
void FolderReader::listAhead(Lock& lock, std::uint32_t most) {
    const auto [parent, first] = jobs_.back();
    jobs_.pop_back();
    std::vector<Node*> batch;
    std::uint32_t index = first;
    for (; index < parent->scan.subfolderCount && batch.size() < most; ++index) {
        if (parent->taken[index]) continue;  // the walk took it itself
        batch.push_back(&claimChild(*parent, index));
        batch.back()->byHelper = true;
    }
    if (index < parent->scan.subfolderCount) jobs_.push_back({parent, index});
    if (batch.empty()) return;
    const bool open = ensureHandle(*parent);
    if (open) {
        ++parent->users;
        makeRoomForOneMore();
    }
    // Each child's subfolders go below those of the children before it, so
    // the first child's come first, as the walk will want them.
    const std::size_t base = jobs_.size();
    for (Node* child : batch) {
        if (open) {
            lock.unlock();
            child->handle = parent->handle->openFolder(child->scan.name, settings_.stayOnVolume);
            if (child->handle) list(*child);
            lock.lock();
        }
        if (child->handle && child->scan.subfolderCount == 0) child->handle.reset();
        if (child->handle) openNodes_.push_back(child);
        if (child->scan.subfolderCount > 0)
            jobs_.insert(jobs_.begin() + static_cast<std::ptrdiff_t>(std::min(base, jobs_.size())),
                         {child, 0});
        if (++listedAhead_ >= settings_.readAhead) throttled_ = true;
        child->listed = true;
        if (walkWaiting_) listed_.notify_all();
    }
    if (open) --parent->users;
    parent->childrenOpened += static_cast<std::uint32_t>(batch.size());
    parentDone(*parent);
    if (walkWaiting_) listed_.notify_all();
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

// Opening and listing happen outside the lock, in one go: the lock is
// taken once before and once after.
void FolderReader::openAndList(Lock& lock, Node& node) {
    Node& parent = *node.parent;
    if (ensureHandle(parent)) {
        ++parent.users;
        makeRoomForOneMore();
        lock.unlock();
        node.handle = parent.handle->openFolder(node.scan.name, settings_.stayOnVolume);
        if (node.handle) list(node);  // else skipped: not readable
        lock.lock();
        --parent.users;
    }
    ++parent.childrenOpened;
    parentDone(parent);
    if (!node.handle) return;
    if (node.scan.subfolderCount == 0)
        node.handle.reset();
    else
        openNodes_.push_back(&node);
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
