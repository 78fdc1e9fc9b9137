#pragma once

#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tarnwk::test {

// An in-memory folder tree. Paths are absolute, joined with "/".
class FakeFileSystem final : public platform::FileSystem {
public:
    // Adds a folder and its missing parents.
    void addFolder(const std::string& path);
    // Adds a file (and its folders) of `bytes` length or content.
    void addFile(const std::string& path, std::string content = "x");
    // A folder that exists but cannot be read.
    void makeUnreadable(const std::string& path);
    void setDevice(const std::string& path, std::uint64_t device);

    std::optional<platform::FolderContents> readFolder(const std::string& path,
                                                       bool followLink) override;
    std::optional<platform::FileId> folderId(const std::string& path) override;
    std::vector<platform::Drive> driveList() override {
        std::vector<platform::Drive> list;
        for (const auto& drive : drives) list.push_back({drive, true});
        return list;
    }
    std::string quickScanFolder() override { return quickFolder; }
    std::string applicationFolder() override { return appFolder; }
    std::string executablePath() override { return appFolder + "/tarnwk"; }
    platform::FileLength fileLength(const std::string& path) override;
    std::optional<std::string> readFile(const std::string& path) override;
    bool writeFile(const std::string& path, std::string_view content) override;
    bool copyFile(const std::string& from, const std::string& to) override;
    bool removeFile(const std::string& path) override;
    bool isPlainFile(const std::string& path) override;
    std::optional<platform::FileId> fileId(const std::string& path) override;
    bool createFolder(const std::string& path) override;

    bool exists(const std::string& path) const { return files_.contains(path); }
    bool folderExists(const std::string& path) const { return folders_.contains(normal(path)); }
    // Files directly in a folder, in name order.
    std::vector<std::string> filesIn(const std::string& folder) const;

    std::vector<std::string> drives;
    // Folders in which no file can be written or deleted.
    std::set<std::string> readOnlyFolders;
    // Paths that are links: never plain files, never copied.
    std::set<std::string> links;
    std::string quickFolder = "/home/user";
    std::string appFolder = "/opt/tarnwick";
    // Paths whose length query fails with this description.
    std::map<std::string, std::string> lengthErrors;
    // Every folder the walk asked for, in order.
    std::vector<std::string> foldersRead;

private:
    struct Folder {
        std::uint64_t inode = 0;
        std::uint64_t device = 1;
        bool readable = true;
        std::vector<std::string> subfolders;
        std::vector<std::string> files;
    };
    std::string normal(const std::string& path) const;
    std::map<std::string, Folder> folders_;
    std::map<std::string, std::string> files_;
    std::map<std::string, std::uint64_t> fileInodes_;
    std::uint64_t nextInode_ = 1;
    bool writable(const std::string& path) const;
    void storeFile(const std::string& path, std::string content);
};

class FakeSettingsStore final : public platform::SettingsStore {
public:
    std::string getSetting(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view defaultValue) override;
    bool saveSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) override;
    std::map<std::string, std::string> values;  // "app/section/key", folded
};

class FakeLoginStartup final : public platform::LoginStartup {
public:
    bool setRegistered(bool value) override {
        registered = value;
        ++calls;
        return true;
    }
    bool registered = false;
    int calls = 0;
};

struct ProgramEnded : std::runtime_error {
    explicit ProgramEnded(int code) : std::runtime_error("program ended"), exitCode(code) {}
    int exitCode;
};

struct ShownMessage {
    std::string text;
    platform::MessageButtons buttons;
    platform::MessageIcon icon;
};

// Records every box; answers from `answers` in order, then with the first
// button. endProgram throws ProgramEnded.
class FakeMessages final : public platform::Messages {
public:
    platform::MessageResult messageBox(std::string_view text, platform::MessageButtons buttons,
                                       platform::MessageIcon icon) override;
    [[noreturn]] void endProgram(int exitCode) override { throw ProgramEnded(exitCode); }

    std::vector<ShownMessage> shown;
    std::vector<platform::MessageResult> answers;
};

class FakeClock final : public platform::Clock {
public:
    std::chrono::system_clock::time_point now() override { return current; }
    platform::CalendarDay localDay(std::chrono::system_clock::time_point) override { return day; }
    double secondsSinceMidnight(std::chrono::system_clock::time_point) override { return seconds; }
    std::string generalDate(std::chrono::system_clock::time_point) override {
        return date + " " + time;
    }
    std::string shortDate(std::chrono::system_clock::time_point) override { return date; }
    std::string longTime(std::chrono::system_clock::time_point) override { return time; }
    std::string decimalSeparator() override { return separator; }

    std::chrono::system_clock::time_point current{};
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
    bool terminate(std::int64_t id) override {
        terminated.push_back(id);
        return true;
    }
    std::vector<platform::ProcessInfo> running;
    std::int64_t self = 1000;
    std::vector<std::int64_t> terminated;
};

class FakeShell final : public platform::Shell {
public:
    void open(std::string_view address) override { opened.emplace_back(address); }
    std::vector<std::string> opened;
};

// All the fakes together.
struct FakePlatform {
    FakeFileSystem files;
    FakeSettingsStore settings;
    FakeLoginStartup startup;
    FakeMessages messages;
    FakeClock clock;
    FakeProcesses processes;
    FakeShell shell;
    platform::Platform platform() {
        return {files, settings, startup, messages, clock, processes, shell};
    }
};

}  // namespace tarnwk::test
