#include "support/FakePlatform.h"

#include <filesystem>

#include "common/NameFolding.h"

namespace tarnwk::test {

namespace {

// Paths are written with '/' and shown with the system's separator, which
// Windows takes alongside '/'.
const std::string kRoot(1, kPathSeparator);

std::size_t nextSeparator(std::string_view path, std::size_t from) {
    while (from < path.size() && !isPathSeparator(path[from])) ++from;
    return from;
}

}  // namespace

// A handle on one folder node of the fake tree.
class FakeFolder final : public platform::Folder {
    using Kind = FakeFileSystem::Kind;
    using Entry = platform::EntryKind;

public:
    FakeFolder(FakeFileSystem& files, int node) : fs_(files), node_(node) {}
    platform::FileId id() override { return {node().device, static_cast<std::uint64_t>(node_)}; }
    bool list(platform::FolderListing& listing) override {
        listing.clear();
        {
            // Read-ahead threads list folders side by side.
            const std::lock_guard lock(fs_.foldersReadMutex_);
            fs_.foldersRead.push_back(fs_.pathOf(node_));
        }
        if (!node().readable) return false;
        // Backwards, so nothing can rely on the order a listing comes in.
        for (auto it = node().children.rbegin(); it != node().children.rend(); ++it) {
            if (fs_.is(it->second, Kind::Folder)) listing.add(it->first, Entry::Folder);
            if (fs_.is(it->second, Kind::File) && it->first[0] != '.')
                listing.add(it->first, Entry::File);
        }
        return true;
    }
    std::unique_ptr<platform::Folder> openFolder(
        std::string_view name, bool sameVolume,
        const std::optional<platform::FileId>& expected) override {
        const int found = fs_.child(node_, name);
        if (!fs_.is(found, Kind::Folder)) return nullptr;
        auto folder = std::make_unique<FakeFolder>(fs_, found);
        if ((sameVolume && !folder->id().sameVolume(id())) ||
            (expected && folder->id() != *expected))
            return nullptr;
        return folder;
    }
    std::optional<platform::FileId> fileId(std::string_view name) override {
        const int found = fs_.child(node_, name);
        if (!fs_.is(found, Kind::File)) return std::nullopt;
        return platform::FileId{node().device, static_cast<std::uint64_t>(found)};
    }
    platform::CopyResult copyFile(std::string_view name, platform::Folder& target,
                                  std::string_view targetName, bool replace) override {
        const int source = fs_.child(node_, name);
        const int to = static_cast<FakeFolder&>(target).node_;
        const int existing = fs_.child(to, targetName);
        if (!fs_.is(source, Kind::File) || !fs_.writable(to) || fs_.is(existing, Kind::Folder))
            return platform::CopyResult::Failed;
        if (existing >= 0 && !replace) return platform::CopyResult::NameTaken;
        const std::string content = fs_.nodes_[source].content;
        fs_.nodes_[fs_.make(to, std::string(targetName), Kind::File)].content = content;
        return platform::CopyResult::Copied;
    }
    bool removeFile(std::string_view name) override {
        const int found = fs_.child(node_, name);
        if (found < 0 || fs_.is(found, Kind::Folder) || !fs_.writable(node_)) return false;
        node().children.erase(std::string(name));
        return true;
    }

private:
    FakeFileSystem::Node& node() { return fs_.nodes_[node_]; }
    FakeFileSystem& fs_;
    int node_;
};

int FakeFileSystem::make(int parent, const std::string& name, Kind kind) {
    nodes_.push_back({kind, parent, name, {}, {}, nodes_[parent].device, true});
    const int made = static_cast<int>(nodes_.size()) - 1;
    nodes_[parent].children[name] = made;
    return made;
}

int FakeFileSystem::child(int folder, std::string_view name) const {
    const auto& children = nodes_[folder].children;
    const auto it = children.find(std::string(name));
    return it == children.end() ? -1 : it->second;
}

int FakeFileSystem::lookup(const std::string& path, int depth) const {
    if (path.empty() || !isPathSeparator(path[0]) || depth > 8) return -1;
    int at = 0;
    for (std::size_t begin = 1, end; begin < path.size() && at >= 0; begin = end + 1) {
        end = nextSeparator(path, begin);
        if (end == begin) continue;
        if (!is(at, Kind::Folder)) return -1;
        at = child(at, std::string_view(path).substr(begin, end - begin));
        if (is(at, Kind::Link)) at = lookup(nodes_[at].content, depth + 1);
    }
    return at;
}

std::string FakeFileSystem::pathOf(int node) const {
    if (node == 0) return kRoot;
    return joinPath(pathOf(nodes_[node].parent), nodes_[node].name);
}

void FakeFileSystem::add(const std::string& path, Kind kind, std::string content) {
    const std::string parent(parentFolder(path));
    addFolder(parent);
    nodes_[make(lookup(parent), std::string(fileName(path)), kind)].content = std::move(content);
}

FakeFileSystem::Node& FakeFileSystem::folderAt(const std::string& path) {
    addFolder(path);
    return nodes_[lookup(path)];
}

void FakeFileSystem::rename(const std::string& from, const std::string& to) {
    const int node = lookup(std::string(parentFolder(from)));
    const int moved = child(node, fileName(from));
    nodes_[node].children.erase(std::string(fileName(from)));
    const int into = lookup(std::string(parentFolder(to)));
    nodes_[moved].parent = into;
    nodes_[moved].name = fileName(to);
    nodes_[into].children[nodes_[moved].name] = moved;
}

std::unique_ptr<platform::Folder> FakeFileSystem::openFolder(const std::string& path) {
    const int node = path.empty() ? -1 : lookup(fullPath(path));
    return is(node, Kind::Folder) ? std::make_unique<FakeFolder>(*this, node) : nullptr;
}

std::string FakeFileSystem::fullPath(const std::string& path) {
    // Every path counts from the root: there is no current folder.
    const std::string rooted = path.empty() || !isPathSeparator(path[0]) ? kRoot + path : path;
    std::string full = std::filesystem::path(rooted).lexically_normal().string();
    if (full.size() > 1 && isPathSeparator(full.back())) full.pop_back();
    return full;
}

platform::FileLength FakeFileSystem::fileLength(const std::string& path) {
    if (const auto error = lengthErrors.find(path); error != lengthErrors.end())
        return {platform::LengthStatus::Failed, 0, error->second};
    const int node = lookup(path);
    if (is(node, Kind::Folder)) return {platform::LengthStatus::Failed, 0, "Is a directory"};
    if (node < 0) return {platform::LengthStatus::NotFound, 0, {}};
    return {platform::LengthStatus::Ok, nodes_[node].content.size(), {}};
}

std::optional<std::string> FakeFileSystem::readFile(const std::string& path) {
    const int node = lookup(path);
    return is(node, Kind::File) ? std::optional(nodes_[node].content) : std::nullopt;
}

bool FakeFileSystem::writeFile(const std::string& path, std::string_view content) {
    const int folder = lookup(std::string(parentFolder(path)));
    if (folder < 0 || !writable(folder) || is(child(folder, fileName(path)), Kind::Folder))
        return false;
    nodes_[make(folder, std::string(fileName(path)), Kind::File)].content = content;
    return true;
}

bool FakeFileSystem::removeFile(const std::string& path) {
    const auto folder = openFolder(std::string(parentFolder(path)));
    return folder && folder->removeFile(fileName(path));
}

bool FakeFileSystem::createFolder(const std::string& path) {
    if (const int found = lookup(path); found >= 0) return is(found, Kind::Folder);
    const std::string parent(parentFolder(path));
    if (parent.empty() || parent == path || !createFolder(parent)) return false;
    if (!fileName(path).empty()) make(lookup(parent), std::string(fileName(path)), Kind::Folder);
    return true;
}

std::vector<std::string> FakeFileSystem::filesIn(const std::string& folder) const {
    std::vector<std::string> names;
    const int node = lookup(folder);
    if (is(node, Kind::Folder))
        for (const auto& [name, id] : nodes_[node].children)
            if (is(id, Kind::File)) names.push_back(name);
    return names;
}

namespace {

std::string settingKey(std::string_view app, std::string_view section, std::string_view key) {
    return foldName(std::string(app) + "/" + std::string(section) + "/" + std::string(key));
}

}  // namespace

std::string FakeSettingsStore::getSetting(std::string_view app, std::string_view section,
                                          std::string_view key, std::string_view defaultValue) {
    const auto it = values.find(settingKey(app, section, key));
    return it == values.end() ? std::string(defaultValue) : it->second;
}

bool FakeSettingsStore::saveSetting(std::string_view app, std::string_view section,
                                    std::string_view key, std::string_view value) {
    if (!failure.empty()) return false;
    values[settingKey(app, section, key)] = value;
    return true;
}

}  // namespace tarnwk::test
