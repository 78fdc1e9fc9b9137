// In-memory services that behave as the real ones do (the contract suites in
// tests/platform hold them to it), with a few knobs the disk lacks.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tarnwk::test {

// A folder tree of absolute "/" paths. Files and folders get identities on
// their folder's device; a copy, like the real atomic copy, is a new file.
class FakeFileSystem final : public platform::FileSystem {
public:
    void addFolder(const std::string& path);
    void addFile(const std::string& path, std::string content = "x");
    // A link at `path` to `target`: listed in neither list, never followed
    // below the starting folder of a walk, never copied.
    void addLink(const std::string& path, const std::string& target);
    void makeUnreadable(const std::string& path) {
        addFolder(path), folders_[path].readable = false;
    }
    // Folders added below it later are on the same device.
    void setDevice(const std::string& path, std::uint64_t device) {
        addFolder(path), folders_[path].device = device;
    }

    std::optional<platform::FolderContents> readFolder(const std::string& path,
                                                       bool followLink) override;
    std::optional<platform::FileId> folderId(const std::string& path) override;
    std::vector<platform::Drive> driveList() override;
    std::string quickScanFolder() override { return quickFolder; }
    std::string applicationFolder() override { return appFolder; }
    std::string executablePath() override { return appFolder + "/tarnwk"; }
    platform::FileLength fileLength(const std::string& path) override;
    std::optional<std::string> readFile(const std::string& path) override;
    bool writeFile(const std::string& path, std::string_view content) override;
    bool copyFile(const std::string& from, const std::string& to) override;
    bool removeFile(const std::string& path) override;
    bool isPlainFile(const std::string& path) override { return files_.contains(path); }
    std::optional<platform::FileId> fileId(const std::string& path) override;
    bool createFolder(const std::string& path) override;

    bool exists(const std::string& path) const { return files_.contains(path); }
    bool folderExists(const std::string& path) const { return folders_.contains(path); }
    // Files directly in a folder, in name order.
    std::vector<std::string> filesIn(const std::string& folder) const;

    std::vector<std::string> drives;
    // Folders in which no file can be written or deleted.
    std::set<std::string> readOnlyFolders;
    std::string quickFolder = "/home/user";
    std::string appFolder = "/opt/tarnwick";
    // Paths whose length query fails with this description.
    std::map<std::string, std::string> lengthErrors;
    // Every folder a walk asked for, in order.
    std::vector<std::string> foldersRead;

private:
    struct Folder {
        std::uint64_t inode = 0;
        std::uint64_t device = 1;
        bool readable = true;
        std::set<std::string> subfolders, files;
    };
    struct File {
        std::string content;
        std::uint64_t inode = 0;
    };
    bool writable(const std::string& path) const;
    void storeFile(const std::string& path, std::string content);
    std::map<std::string, Folder> folders_;
    std::map<std::string, File> files_;
    std::map<std::string, std::string> links_;
    std::uint64_t nextInode_ = 1;
};

class FakeSettingsStore final : public platform::SettingsStore {
public:
    std::string getSetting(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view defaultValue) override;
    bool saveSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) override;
    // By "app/section/key", folded.
    std::map<std::string, std::string> values;
};

class FakeLoginStartup final : public platform::LoginStartup {
public:
    bool setRegistered(bool value) override { return registered = value, true; }
    bool registered = false;
};

class FakeClock final : public platform::Clock {
public:
    std::chrono::system_clock::time_point now() override { return {}; }
    platform::CalendarDay localDay(std::chrono::system_clock::time_point) override { return day; }
    double secondsSinceMidnight(std::chrono::system_clock::time_point) override { return seconds; }
    std::string generalDate(std::chrono::system_clock::time_point) override {
        return date + " " + time;
    }
    std::string shortDate(std::chrono::system_clock::time_point) override { return date; }
    std::string longTime(std::chrono::system_clock::time_point) override { return time; }
    std::string decimalSeparator() override { return separator; }

    platform::CalendarDay day{2026, 12, 6};
    double seconds = 0;
    std::string date = "06/12/2026";
    std::string time = "21:30:00";
    std::string separator = ".";
};

class FakeProcesses final : public platform::Processes {
public:
    std::vector<platform::ProcessInfo> list() override { return running; }
    std::int64_t ownId() override { return self; }
    bool terminate(std::int64_t id) override { return terminated.push_back(id), true; }
    std::vector<platform::ProcessInfo> running;
    std::int64_t self = 1000;
    std::vector<std::int64_t> terminated;
};

class FakeShell final : public platform::Shell {
public:
    void open(std::string_view address) override { opened.emplace_back(address); }
    std::vector<std::string> opened;
};

}  // namespace tarnwk::test
