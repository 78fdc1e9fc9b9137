#include "platform/posix/IniSettingsStore.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/PathText.h"
#include "platform/posix/AtomicFile.h"
#include "platform/posix/IniText.h"

// The file's text is read and written by IniText.h. Names it cannot hold are
// refused, and so is an application that is no plain folder name ('/', "."
// or ".."), since it also names a folder and a file.

namespace tarnwk::posix {

namespace {

// Anything larger is not a settings file; refuse it rather than load it.
constexpr std::size_t kMaxFileBytes = 1 << 20;

bool isAppName(std::string_view app) {
    return isIniName(app) && app.find('/') == std::string_view::npos && app != "." && app != "..";
}

bool areValidNames(std::string_view app, std::string_view section, std::string_view key) {
    return isAppName(app) && isIniName(section) && isIniName(key);
}

enum class ReadStatus { Ok, Missing, Failed, TooLarge };

struct FileContent {
    ReadStatus status = ReadStatus::Failed;
    std::string bytes;
};

bool readAll(int fd, std::string& bytes) {
    char buffer[16384];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > kMaxFileBytes) return errno = EFBIG, false;
    }
}

FileContent readIniFile(const std::string& path) {
    FileContent content;
    // O_NONBLOCK so that a FIFO in the file's place cannot hang the caller.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        content.status = errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
        return content;
    }
    struct stat info {};
    const bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && readAll(fd, content.bytes);
    close(fd);
    content.status = ok               ? ReadStatus::Ok
                     : errno == EFBIG ? ReadStatus::TooLarge
                                      : ReadStatus::Failed;
    return content;
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The name of the entry of `folder` that is `name` up to ASCII case: the exact
// name when present, otherwise the alphabetically first match (among folders
// only when `wantFolder`), otherwise `name` itself.
std::string matchingEntry(const std::string& folder, std::string_view name, bool wantFolder) {
    DIR* listing = opendir(folder.c_str());
    if (!listing) return std::string(name);
    std::optional<std::string> best;
    while (const dirent* entry = readdir(listing)) {
        const std::string_view candidate = entry->d_name;
        if (candidate == name) {
            best = candidate;
            break;
        }
        if (!iniNamesEqual(candidate, name) || (best && *best < candidate)) continue;
        if (!wantFolder || isFolder(folder + "/" + std::string(candidate))) best = candidate;
    }
    closedir(listing);
    return best.value_or(std::string(name));
}

// Where a link at `path` leads, link after link; `path` itself when it is
// no link.
std::string linkTarget(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path at = path;
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(at, ec)); ++hops) {
        const fs::path next = fs::read_symlink(at, ec);
        if (ec) break;
        at = next.is_absolute() ? next : (at.parent_path() / next).lexically_normal();
    }
    return at.string();
}

}  // namespace

IniSettingsStore::IniSettingsStore(std::string configHome) : configHome_(std::move(configHome)) {}

std::string IniSettingsStore::iniPath(std::string_view app) const {
    const std::string folder = configHome_ + "/" + matchingEntry(configHome_, app, true);
    return folder + "/" + matchingEntry(folder, std::string(app) + ".ini", false);
}

std::string IniSettingsStore::getSetting(std::string_view app, std::string_view section,
                                         std::string_view key, std::string_view defaultValue) {
    if (!areValidNames(app, section, key)) return std::string(defaultValue);
    const FileContent file = readIniFile(iniPath(app));
    if (file.status != ReadStatus::Ok) return std::string(defaultValue);
    return iniValue(file.bytes, section, key).value_or(std::string(defaultValue));
}

bool IniSettingsStore::saveSetting(std::string_view app, std::string_view section,
                                   std::string_view key, std::string_view value) {
    failure_.clear();
    if (!areValidNames(app, section, key))
        return failure_ = "the name " + std::string(key) + " cannot be stored", false;
    // A link in the file's place (a dotfiles manager's) stays a link: the
    // file it leads to is the one replaced.
    const std::string path = linkTarget(iniPath(app));
    if (!makeFolders(std::string(parentFolder(path))))
        return failure_ = "the folder of " + path + " cannot be made", false;
    // A file that exists but cannot be read would lose its other settings.
    const FileContent file = readIniFile(path);
    if (file.status == ReadStatus::TooLarge)
        return failure_ = path +
                          " is larger than 1 MiB, so it is no settings file; it is kept "
                          "as it is",
               false;
    if (file.status == ReadStatus::Failed)
        return failure_ = path + " cannot be read: " + std::strerror(errno), false;
    std::string error;
    if (!writeFileAtomically(path, withIniValue(file.bytes, section, key, value), &error))
        return failure_ = path + " cannot be written: " + error, false;
    return true;
}

}  // namespace tarnwk::posix
