#include "support/FakePlatform.h"

#include <algorithm>

#include "common/NameFolding.h"

namespace tarnwk::test {
namespace {

std::string parentOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

}  // namespace

std::string FakeFileSystem::normal(const std::string& path) const {
    std::string text = path;
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

void FakeFileSystem::addFolder(const std::string& rawPath) {
    const std::string path = normal(rawPath);
    if (folders_.contains(path)) return;
    folders_[path].inode = nextInode_++;
    if (path == "/") return;
    const std::string parent = parentOf(path);
    addFolder(parent);
    folders_[parent].subfolders.push_back(nameOf(path));
    folders_[path].device = folders_[parent].device;
}

void FakeFileSystem::addFile(const std::string& path, std::string content) {
    storeFile(path, std::move(content));
}

void FakeFileSystem::storeFile(const std::string& path, std::string content) {
    const std::string parent = parentOf(path);
    addFolder(parent);
    if (!files_.contains(path)) {
        folders_[parent].files.push_back(nameOf(path));
        fileInodes_[path] = nextInode_++;
    }
    files_[path] = std::move(content);
}

bool FakeFileSystem::writable(const std::string& path) const {
    return folderExists(parentOf(path)) && !readOnlyFolders.contains(parentOf(path));
}

bool FakeFileSystem::writeFile(const std::string& path, std::string_view content) {
    if (!writable(path)) return false;
    storeFile(path, std::string(content));
    return true;
}

bool FakeFileSystem::copyFile(const std::string& from, const std::string& to) {
    const auto it = files_.find(from);
    if (it == files_.end() || links.contains(from) || !writable(to)) return false;
    storeFile(to, it->second);
    return true;
}

bool FakeFileSystem::removeFile(const std::string& path) {
    if (!files_.contains(path) || readOnlyFolders.contains(parentOf(path))) return false;
    files_.erase(path);
    fileInodes_.erase(path);
    auto& siblings = folders_[parentOf(path)].files;
    siblings.erase(std::find(siblings.begin(), siblings.end(), nameOf(path)));
    return true;
}

bool FakeFileSystem::isPlainFile(const std::string& path) {
    return files_.contains(path) && !links.contains(path);
}

std::optional<platform::FileId> FakeFileSystem::fileId(const std::string& path) {
    if (!isPlainFile(path)) return std::nullopt;
    return platform::FileId{1, fileInodes_.at(path)};
}

bool FakeFileSystem::createFolder(const std::string& path) {
    addFolder(path);
    return true;
}

std::vector<std::string> FakeFileSystem::filesIn(const std::string& folder) const {
    const auto it = folders_.find(normal(folder));
    if (it == folders_.end()) return {};
    std::vector<std::string> names = it->second.files;
    std::sort(names.begin(), names.end());
    return names;
}

void FakeFileSystem::makeUnreadable(const std::string& path) {
    addFolder(path);
    folders_[normal(path)].readable = false;
}

void FakeFileSystem::setDevice(const std::string& path, std::uint64_t device) {
    addFolder(path);
    folders_[normal(path)].device = device;
}

std::optional<platform::FolderContents> FakeFileSystem::readFolder(const std::string& rawPath,
                                                                   bool) {
    const std::string path = normal(rawPath);
    foldersRead.push_back(path);
    const auto it = folders_.find(path);
    if (it == folders_.end() || !it->second.readable) return std::nullopt;
    // Listing order is whatever the disk gives; reverse it so nothing relies
    // on insertion order.
    platform::FolderContents contents{
        path, {it->second.device, it->second.inode}, it->second.subfolders, it->second.files};
    std::reverse(contents.subfolders.begin(), contents.subfolders.end());
    std::reverse(contents.files.begin(), contents.files.end());
    return contents;
}

std::optional<platform::FileId> FakeFileSystem::folderId(const std::string& rawPath) {
    const auto it = folders_.find(normal(rawPath));
    if (it == folders_.end()) return std::nullopt;
    return platform::FileId{it->second.device, it->second.inode};
}

platform::FileLength FakeFileSystem::fileLength(const std::string& path) {
    if (const auto error = lengthErrors.find(path); error != lengthErrors.end())
        return {platform::LengthStatus::Failed, 0, error->second};
    const auto it = files_.find(path);
    if (it == files_.end()) return {platform::LengthStatus::NotFound, 0, {}};
    return {platform::LengthStatus::Ok, it->second.size(), {}};
}

std::optional<std::string> FakeFileSystem::readFile(const std::string& path) {
    const auto it = files_.find(path);
    if (it == files_.end()) return std::nullopt;
    return it->second;
}

std::string FakeSettingsStore::getSetting(std::string_view app, std::string_view section,
                                          std::string_view key, std::string_view defaultValue) {
    const auto it = values.find(
        foldName(std::string(app) + "/" + std::string(section) + "/" + std::string(key)));
    return it == values.end() ? std::string(defaultValue) : it->second;
}

bool FakeSettingsStore::saveSetting(std::string_view app, std::string_view section,
                                    std::string_view key, std::string_view value) {
    values[foldName(std::string(app) + "/" + std::string(section) + "/" + std::string(key))] =
        value;
    return true;
}

platform::MessageResult FakeMessages::messageBox(std::string_view text,
                                                 platform::MessageButtons buttons,
                                                 platform::MessageIcon icon) {
    shown.push_back({std::string(text), buttons, icon});
    if (!answers.empty()) {
        const auto answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    return buttons == platform::MessageButtons::YesNo ? platform::MessageResult::Yes
                                                      : platform::MessageResult::Ok;
}

}  // namespace tarnwk::test
