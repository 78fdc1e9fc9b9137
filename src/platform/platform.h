// Everything the program needs from the operating system, behind small
// interfaces. Code outside platform/ includes this header and the standard
// library, nothing else; each backend implements the interfaces for one OS,
// and tests/support holds in-memory fakes.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/PathText.h"

namespace tarnwk::platform {

// Identity of a file or folder on disk: equal only for the same object.
// Opaque above the platform: a backend fills it, the rest only compares it
// and asks whether two objects share a volume.
class FileId {
public:
    FileId() = default;
    FileId(std::uint64_t volume, std::uint64_t object, std::uint64_t objectHigh = 0)
        : volume_(volume), object_(object), objectHigh_(objectHigh) {}
    bool sameVolume(const FileId& other) const { return volume_ == other.volume_; }
    friend bool operator==(const FileId&, const FileId&) = default;

private:
    std::uint64_t volume_ = 0;
    std::uint64_t object_ = 0;
    std::uint64_t objectHigh_ = 0;
};

enum class EntryKind : std::uint8_t { Folder, File };

// One listing of a folder: its subfolders and its plain, non-hidden files
// (links, devices, pipes and hidden files are left out), in the order the
// system gives them. The names share one buffer, so a listing allocates
// nothing per entry and can be reused from folder to folder.
class FolderListing {
public:
    void clear() {
        names_.clear();
        entries_.clear();
    }
    void add(std::string_view name, EntryKind kind) {
        entries_.push_back({static_cast<std::uint32_t>(names_.size()),
                            static_cast<std::uint32_t>(name.size()), kind});
        names_ += name;
    }
    std::size_t size() const { return entries_.size(); }
    std::string_view name(std::size_t i) const {
        return std::string_view(names_).substr(entries_[i].offset, entries_[i].length);
    }
    EntryKind kind(std::size_t i) const { return entries_[i].kind; }

private:
    struct Entry {
        std::uint32_t offset;
        std::uint32_t length;
        EntryKind kind;
    };
    std::string names_;
    std::vector<Entry> entries_;
};

enum class CopyResult { Copied, NameTaken, Failed };

// An open folder. Everything is done relative to it and by plain names, so a
// folder renamed, or swapped for a link, after it was opened is never
// followed: the handle keeps naming the folder that was opened, and a name
// that has become a link is refused.
class Folder {
public:
    virtual ~Folder() = default;
    virtual FileId id() = 0;
    // The entries into `listing` (emptied first); false when the folder
    // cannot be read.
    [[nodiscard]] virtual bool list(FolderListing& listing) = 0;
    // Opens the subfolder `name`, never through a link. Null when it is no
    // folder (any more), cannot be opened, lies on another volume while
    // `sameVolume` asks for this one, or is not `expected` when that is given.
    virtual std::unique_ptr<Folder> openFolder(std::string_view name, bool sameVolume = false,
                                               const std::optional<FileId>& expected = {}) = 0;
    // The identity of the plain file `name`; nullopt for anything else,
    // links included (they are not followed).
    virtual std::optional<FileId> fileId(std::string_view name) = 0;
    // Copies the plain file `name` to `targetName` in `target`: the copy is
    // complete before it takes its name. An existing file of that name is
    // replaced, or, without `replace`, kept (the copy is then not made). A
    // link is never copied.
    [[nodiscard]] virtual CopyResult copyFile(std::string_view name, Folder& target,
                                              std::string_view targetName, bool replace = true) = 0;
    // Deletes the file (or link) `name` for good; never a folder.
    [[nodiscard]] virtual bool removeFile(std::string_view name) = 0;
};

// A root a full scan walks.
struct Drive {
    std::string root;
    // Where other drives are mounted inside this one (one tree of mount
    // points), its walk stays on its own volume, so no drive is walked twice.
    bool stayOnVolume = false;
};

// Where the program keeps its files.
struct ProgramFolders {
    // Quarantine, Reports and downloaded definitions, without a trailing
    // separator: the executable's folder when the program runs from where it
    // was built or from a folder that holds its own definitions; the user's
    // data folder for an installed program.
    std::string data;
    // The definitions that came with the program, read while `data` holds
    // none of its own.
    std::string bundledDefinitions;
};

enum class LengthStatus { Ok, NotFound, Failed };

struct FileLength {
    LengthStatus status = LengthStatus::NotFound;
    std::uint64_t bytes = 0;
    std::string errorDescription;  // the system's words, when Failed
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Opens a folder by its path, following links as the user named them
    // (the folder a walk starts from, the application's own folders).
    virtual std::unique_ptr<Folder> openFolder(const std::string& path) = 0;
    // The absolute form of a folder path, without "." and ".." parts or a
    // trailing separator (a root keeps its own): how a walk shows it.
    virtual std::string fullPath(const std::string& path) = 0;
    // How many folders a walk may hold open at once.
    virtual std::size_t openFolderBudget() = 0;
    // The roots a full scan walks, in order (drives, or mount points).
    virtual std::vector<Drive> driveList() = 0;
    // The folder a quick scan walks.
    virtual std::string quickScanFolder() = 0;
    // Where the program keeps its files, and the executable's full path.
    virtual ProgramFolders programFolders() = 0;
    virtual std::string executablePath() = 0;
    virtual FileLength fileLength(const std::string& path) = 0;
    // The whole content of a file; nullopt when it cannot be opened or read.
    virtual std::optional<std::string> readFile(const std::string& path) = 0;
    // Replaces `path` with `content` whole: written under a temporary name and
    // renamed into place, so no half-written file is ever left under `path`.
    [[nodiscard]] virtual bool writeFile(const std::string& path, std::string_view content) = 0;
    // Deletes a file for good (never a folder).
    [[nodiscard]] virtual bool removeFile(const std::string& path) = 0;
    // Creates a folder and its parents; true when it exists afterwards.
    [[nodiscard]] virtual bool createFolder(const std::string& path) = 0;
};

struct ProcessInfo {
    std::int64_t id = 0;
    // The full path of the program file; nullopt when it cannot be read.
    std::optional<std::string> programPath;
};

// The running programs of this machine.
class Processes {
public:
    virtual ~Processes() = default;
    virtual std::vector<ProcessInfo> list() = 0;
    virtual std::int64_t ownId() = 0;
    // Ends the process at once; true when the system accepted the request.
    [[nodiscard]] virtual bool terminate(std::int64_t id) = 0;
};

// Opens a document or web address with the user's default program.
class Shell {
public:
    virtual ~Shell() = default;
    virtual void open(std::string_view address) = 0;
};

// The per-user settings store: application, section and key address one
// text value; all three compare without regard to case.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string getSetting(std::string_view app, std::string_view section,
                                   std::string_view key, std::string_view defaultValue) = 0;
    // False when the value could not be stored.
    [[nodiscard]] virtual bool saveSetting(std::string_view app, std::string_view section,
                                           std::string_view key, std::string_view value) = 0;
    // Why the last save failed, in words for the user.
    virtual std::string lastFailure() { return {}; }
};

// Registration that starts the program when the user logs in.
class LoginStartup {
public:
    virtual ~LoginStartup() = default;
    // Registers (true) or removes (false) the running executable; removing an
    // absent registration succeeds. False when the change could not be made.
    [[nodiscard]] virtual bool setRegistered(bool registered) = 0;
};

enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageIcon { None, Critical, Information };
enum class MessageResult { Ok, Cancel, Yes, No };

class Messages {
public:
    virtual ~Messages() = default;
    // A modal box with the application title as caption.
    virtual MessageResult messageBox(std::string_view text, MessageButtons buttons,
                                     MessageIcon icon) = 0;
    // Ends the process at once: no further handler runs and nothing is saved.
    [[noreturn]] virtual void endProgram(int exitCode) = 0;
};

// A day of the local calendar.
struct CalendarDay {
    int year = 0;
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to 31
};

// The time of day and the user's formats. Every reading of the calendar takes
// the instant it is about, so values taken of one instant always agree.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::chrono::system_clock::time_point now() = 0;
    // The local day `when` falls on, and the seconds since its midnight.
    virtual CalendarDay localDay(std::chrono::system_clock::time_point when) = 0;
    virtual double secondsSinceMidnight(std::chrono::system_clock::time_point when) = 0;
    // Short date, a blank, long time, in the user's formats.
    virtual std::string generalDate(std::chrono::system_clock::time_point when) = 0;
    virtual std::string shortDate(std::chrono::system_clock::time_point when) = 0;
    virtual std::string longTime(std::chrono::system_clock::time_point when) = 0;
    // The user's decimal separator.
    virtual std::string decimalSeparator() = 0;
};

// Fetches resources over HTTP.
class Downloader {
public:
    virtual ~Downloader() = default;
    // Blocks until the transfer has ended, at most `timeoutSeconds`. The whole
    // body of a successful (2xx) answer, or nullopt on any failure: no
    // answer, another status, a body cut off, or one longer than `maxBytes`
    // (the transfer stops as soon as it passes).
    virtual std::optional<std::string> fetch(const std::string& url, std::size_t maxBytes,
                                             int timeoutSeconds) = 0;
};

// One running instance per user.
class SingleInstance {
public:
    virtual ~SingleInstance() = default;
    // True when no other instance runs; this one then answers later starts
    // through onActivateRequest. A lock left by an instance that crashed does
    // not count.
    [[nodiscard]] virtual bool claim() = 0;
    // From a later start: asks the running instance to bring its window
    // forward and show its main window. False when it could not be reached.
    [[nodiscard]] virtual bool activateRunning() = 0;
    // In the running instance: a later start asked it to come forward.
    std::function<void()> onActivateRequest;
};

// The services of one running program, handed to the code that needs them.
struct Platform {
    FileSystem& files;
    SettingsStore& settings;
    LoginStartup& startup;
    Messages& messages;
    Clock& clock;
    Processes& processes;
    Shell& shell;
};

}  // namespace tarnwk::platform
