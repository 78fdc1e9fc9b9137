// In-memory services that behave as the real ones do (the contract suites in
// tests/platform hold them to it), with a few knobs the disk lacks.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/NativePath.h"

namespace tarnwk::test {

// A tree of folders, files and links under the root, with identities on devices:
// folder handles name the folder they opened, whatever is renamed later.
class FakeFileSystem final : public platform::FileSystem {
    enum class Kind { Folder, File, Link };
    struct Node;

public:
    void addFolder(const std::string& path) { (void)createFolder(path); }
    void addFile(const std::string& path, std::string content = "x") {
        add(path, Kind::File, std::move(content));
    }
    // A link at `path` to `target`: followed only in paths given by name.
    void addLink(const std::string& path, const std::string& target) {
        add(path, Kind::Link, target);
    }
    void makeUnreadable(const std::string& path) { folderAt(path).readable = false; }
    // Folders made below it later lie on the same device.
    void setDevice(const std::string& path, std::uint64_t device) {
        folderAt(path).device = device;
    }
    void rename(const std::string& from, const std::string& to);

    std::unique_ptr<platform::Folder> openFolder(const std::string& path) override;
    std::string fullPath(const std::string& path) override;
    std::size_t openFolderBudget() override { return folderBudget; }
    std::vector<platform::Drive> driveList() override { return drives; }
    std::string quickScanFolder() override { return quickFolder; }
    platform::ProgramFolders programFolders() override {
        return {appFolder, joinPath(appFolder, "ref.dat")};
    }
    std::string executablePath() override { return joinPath(appFolder, "tarnwk"); }
    platform::FileLength fileLength(const std::string& path) override;
    std::optional<std::string> readFile(const std::string& path) override;
    bool writeFile(const std::string& path, std::string_view content) override;
    bool removeFile(const std::string& path) override;
    bool createFolder(const std::string& path) override;

    bool folderExists(const std::string& path) const { return is(lookup(path), Kind::Folder); }
    // Names of the files directly in a folder, in byte order.
    std::vector<std::string> filesIn(const std::string& folder) const;

    std::vector<platform::Drive> drives;
    // Folders in which no file can be written or deleted.
    std::set<std::string> readOnlyFolders;
    std::string quickFolder = nativePath("/home/user");
    std::string appFolder = nativePath("/opt/tarnwick");
    // Paths whose length query fails with this description.
    std::map<std::string, std::string> lengthErrors;
    // Every folder listed, in order.
    std::vector<std::string> foldersRead;
    std::size_t folderBudget = 8;

private:
    friend class FakeFolder;
    struct Node {
        Kind kind = Kind::Folder;
        int parent = -1;
        std::string name;
        std::map<std::string, int> children;
        std::string content;  // a file's bytes, a link's target
        std::uint64_t device = 1;
        bool readable = true;
    };
    int make(int parent, const std::string& name, Kind kind);
    bool is(int node, Kind kind) const { return node >= 0 && nodes_[node].kind == kind; }
    void add(const std::string& path, Kind kind, std::string content);
    Node& folderAt(const std::string& path);
    int child(int folder, std::string_view name) const;
    // The node a path names, links followed; -1 when none.
    int lookup(const std::string& path, int depth = 0) const;
    std::string pathOf(int node) const;
    bool writable(int folder) const { return !readOnlyFolders.contains(pathOf(folder)); }
    std::vector<Node> nodes_ = std::vector<Node>(1);  // the root
    std::mutex foldersReadMutex_;
};

class FakeSettingsStore final : public platform::SettingsStore {
public:
    std::string getSetting(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view defaultValue) override;
    bool saveSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) override;
    std::string lastFailure() override { return failure; }
    // By "app/section/key", folded.
    std::map<std::string, std::string> values;
    // When set, every save fails with this reason.
    std::string failure;
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
    std::int64_t ownId() override { return 1000; }
    bool terminate(std::int64_t id) override {
        if (onTerminate) onTerminate(id);
        return true;
    }
    std::vector<platform::ProcessInfo> running;
    std::function<void(std::int64_t)> onTerminate;
};

class FakeShell final : public platform::Shell {
public:
    void open(std::string_view address) override { opened.emplace_back(address); }
    std::vector<std::string> opened;
};

}  // namespace tarnwk::test
