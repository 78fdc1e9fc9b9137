#include "support/FakePlatform.h"

#include <algorithm>

#include "common/NameFolding.h"

namespace tarnwk::test {
namespace {

std::string normal(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string parentOf(const std::string& path) {
    return std::string(parentFolder(path));
}

std::string settingPath(std::string_view app, std::string_view section, std::string_view key) {
    return foldName(std::string(app) + "/" + std::string(section) + "/" + std::string(key));
}

}  // namespace

void FakeFileSystem::addFolder(const std::string& path) {
    if (folders_.contains(path)) return;
    folders_[path].inode = nextInode_++;
    if (path == "/") return;
    addFolder(parentOf(path));
    Folder& parent = folders_[parentOf(path)];
    parent.subfolders.insert(std::string(fileName(path)));
    folders_[path].device = parent.device;
}

void FakeFileSystem::addFile(const std::string& path, std::string content) {
    addFolder(parentOf(path));
    storeFile(path, std::move(content));
}

void FakeFileSystem::addLink(const std::string& path, const std::string& target) {
    addFolder(parentOf(path));
    links_[path] = target;
}

void FakeFileSystem::storeFile(const std::string& path, std::string content) {
    links_.erase(path);
    folders_[parentOf(path)].files.insert(std::string(fileName(path)));
    files_[path] = {std::move(content), nextInode_++};
}

bool FakeFileSystem::writable(const std::string& path) const {
    const std::string parent = parentOf(path);
    return folders_.contains(parent) && !readOnlyFolders.contains(parent) &&
           !folders_.contains(path);
}

std::optional<platform::FolderContents> FakeFileSystem::readFolder(const std::string& rawPath,
                                                                   bool followLink) {
    const std::string path = normal(rawPath);
    foldersRead.push_back(path);
    std::string target = path;
    if (const auto link = links_.find(path); link != links_.end()) {
        if (!followLink) return std::nullopt;
        target = link->second;
    }
    const auto it = folders_.find(target);
    if (it == folders_.end() || !it->second.readable) return std::nullopt;
    platform::FolderContents contents{path, {it->second.device, it->second.inode}, {}, {}};
    contents.subfolders.assign(it->second.subfolders.rbegin(), it->second.subfolders.rend());
    // Hidden (dot) files are not listed, as on disk.
    for (auto name = it->second.files.rbegin(); name != it->second.files.rend(); ++name)
        if (name->front() != '.') contents.files.push_back(*name);
    return contents;
}

std::optional<platform::FileId> FakeFileSystem::folderId(const std::string& rawPath) {
    std::string path = normal(rawPath);
    if (const auto link = links_.find(path); link != links_.end()) path = link->second;
    const auto it = folders_.find(path);
    if (it == folders_.end()) return std::nullopt;
    return platform::FileId{it->second.device, it->second.inode};
}

std::vector<platform::Drive> FakeFileSystem::driveList() {
    std::vector<platform::Drive> list;
    for (const auto& drive : drives) list.push_back({drive, true});
    return list;
}

platform::FileLength FakeFileSystem::fileLength(const std::string& path) {
    if (const auto error = lengthErrors.find(path); error != lengthErrors.end())
        return {platform::LengthStatus::Failed, 0, error->second};
    if (folders_.contains(path)) return {platform::LengthStatus::Failed, 0, "Is a directory"};
    const auto content = readFile(path);
    if (!content) return {platform::LengthStatus::NotFound, 0, {}};
    return {platform::LengthStatus::Ok, content->size(), {}};
}

std::optional<std::string> FakeFileSystem::readFile(const std::string& path) {
    const auto link = links_.find(path);
    const auto it = files_.find(link == links_.end() ? path : link->second);
    if (it == files_.end()) return std::nullopt;
    return it->second.content;
}

bool FakeFileSystem::writeFile(const std::string& path, std::string_view content) {
    if (!writable(path)) return false;
    storeFile(path, std::string(content));
    return true;
}

bool FakeFileSystem::copyFile(const std::string& from, const std::string& to) {
    const auto it = files_.find(from);
    if (it == files_.end() || !writable(to)) return false;
    storeFile(to, std::string(it->second.content));
    return true;
}

bool FakeFileSystem::removeFile(const std::string& path) {
    if (readOnlyFolders.contains(parentOf(path))) return false;
    if (!files_.erase(path) && !links_.erase(path)) return false;
    folders_[parentOf(path)].files.erase(std::string(fileName(path)));
    return true;
}

std::optional<platform::FileId> FakeFileSystem::fileId(const std::string& path) {
    const auto it = files_.find(path);
    if (it == files_.end()) return std::nullopt;
    return platform::FileId{folders_.at(parentOf(path)).device, it->second.inode};
}

bool FakeFileSystem::createFolder(const std::string& path) {
    if (files_.contains(path) || links_.contains(path)) return false;
    addFolder(normal(path));
    return true;
}

std::vector<std::string> FakeFileSystem::filesIn(const std::string& folder) const {
    const auto it = folders_.find(folder);
    if (it == folders_.end()) return {};
    return {it->second.files.begin(), it->second.files.end()};
}

std::string FakeSettingsStore::getSetting(std::string_view app, std::string_view section,
                                          std::string_view key, std::string_view defaultValue) {
    const auto it = values.find(settingPath(app, section, key));
    return it == values.end() ? std::string(defaultValue) : it->second;
}

bool FakeSettingsStore::saveSetting(std::string_view app, std::string_view section,
                                    std::string_view key, std::string_view value) {
    values[settingPath(app, section, key)] = value;
    return true;
}

}  // namespace tarnwk::test
