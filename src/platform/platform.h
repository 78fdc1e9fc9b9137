// Everything the program needs from the operating system, behind small
// interfaces. Code outside platform/ includes this header and the standard
// library, nothing else; each backend implements the interfaces for one OS,
// and tests/support holds in-memory fakes.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/PathText.h"

namespace tarnwk::platform {

// Identity of a folder on disk, so two spellings of one folder compare equal.
struct FileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    friend bool operator==(const FileId&, const FileId&) = default;
};

// One folder as the walk sees it: the folder list and the file list of the
// scan window read in a single pass.
struct FolderContents {
    // The folder's full path: no trailing separator except for a root.
    std::string path;
    FileId id;
    // Names of the immediate subfolders and of the plain, non-hidden files;
    // links are in neither. In no particular order: the walk sorts them.
    std::vector<std::string> subfolders;
    std::vector<std::string> files;
};

// A root a full scan walks.
struct Drive {
    std::string root;
    // Where other drives are mounted inside this one (one tree of mount
    // points), its walk stays on its own volume, so no drive is walked twice.
    bool stayOnVolume = false;
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
    // Lists a folder; nullopt when it cannot be opened or read. Without
    // `followLink`, a path that names a link is not opened.
    virtual std::optional<FolderContents> readFolder(const std::string& path, bool followLink) = 0;
    virtual std::optional<FileId> folderId(const std::string& path) = 0;
    // The roots a full scan walks, in order (drives, or mount points).
    virtual std::vector<Drive> driveList() = 0;
    // The folder a quick scan walks.
    virtual std::string quickScanFolder() = 0;
    // The folder that holds the running executable, without a trailing
    // separator, and the executable's full path.
    virtual std::string applicationFolder() = 0;
    virtual std::string executablePath() = 0;
    virtual FileLength fileLength(const std::string& path) = 0;
    // The whole content of a file; nullopt when it cannot be opened or read.
    virtual std::optional<std::string> readFile(const std::string& path) = 0;

    // Replaces `path` with `content` whole: written under a temporary name and
    // renamed into place, so no half-written file is ever left under `path`.
    [[nodiscard]] virtual bool writeFile(const std::string& path, std::string_view content) = 0;
    // Copies a plain file to `to`, replacing a file there, the same way:
    // complete under a temporary name, then renamed. A `from` that is a link
    // or not a plain file is not copied.
    [[nodiscard]] virtual bool copyFile(const std::string& from, const std::string& to) = 0;
    // Deletes a file for good (never a folder).
    [[nodiscard]] virtual bool removeFile(const std::string& path) = 0;
    // True when `path` is a plain file and not a link.
    [[nodiscard]] virtual bool isPlainFile(const std::string& path) = 0;
    // Identity of a plain file (not followed through links), to tell whether
    // a path still names the same file.
    virtual std::optional<FileId> fileId(const std::string& path) = 0;
    // Creates a folder; true when it exists afterwards.
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

// Fetches a resource over HTTP.
class Downloader {
public:
    virtual ~Downloader() = default;
    // Blocks until the transfer has ended. True only when the whole body of a
    // successful (2xx) answer is in `localPath`; on any failure no file is
    // left at `localPath` posing as complete.
    [[nodiscard]] virtual bool download(const std::string& url, const std::string& localPath) = 0;
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
