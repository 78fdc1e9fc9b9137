#include "platform/posix/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <system_error>

#include "platform/PathText.h"

namespace tarnwk::posix {

namespace {

bool fail(std::string* error, int code) {
    if (error) *error = std::generic_category().message(code);
    return false;
}

// The process umask, read without umask(2): setting and restoring it would
// race with other threads creating files.
mode_t currentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8)) & 0777;
    }
    return 022;
}

bool syncFile(int fd) {
    while (fsync(fd) != 0) {
        if (errno != EINTR) return false;
    }
    return true;
}

// A name no other writer picks: a temporary file of ours that a crash at the
// wrong moment leaves is recognisable by it.
std::string temporaryName(std::string_view name) {
    static std::atomic<unsigned> counter{0};
    thread_local std::mt19937_64 random{std::random_device{}()};
    return "." + std::string(name) + ".tarnwick-" + std::to_string(getpid()) + "-" +
           std::to_string(counter++) + "-" + std::to_string(random() % 1000000);
}

// An unnamed file in the folder when the file system offers one (nothing
// is left behind whatever happens while it is written), else a named one.
struct Temporary {
    int fd = -1;
    std::string name;  // empty while the file has none
};

// Cleared once an unnamed file could not be given a name (no /proc, no
// rights to link by descriptor): named temporary files from then on.
std::atomic<bool> unnamedFilesWork{true};

Temporary createTemporary(int folderFd, std::string_view name, mode_t mode) {
    Temporary temporary;
    if (unnamedFilesWork) {
        temporary.fd = openat(folderFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        if (temporary.fd >= 0) return temporary;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary.name = temporaryName(name);
        temporary.fd = openat(folderFd, temporary.name.c_str(),
                              O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, mode);
        if (temporary.fd >= 0 || errno != EEXIST) break;
    }
    if (temporary.fd < 0) temporary.name.clear();
    return temporary;
}

// Gives an unnamed file a (temporary) name in its folder.
bool nameTemporary(Temporary& temporary, int folderFd, std::string_view name) {
    const std::string procPath = "/proc/self/fd/" + std::to_string(temporary.fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = temporaryName(name);
        if (linkat(temporary.fd, "", folderFd, candidate.c_str(), AT_EMPTY_PATH) == 0 ||
            linkat(AT_FDCWD, procPath.c_str(), folderFd, candidate.c_str(), AT_SYMLINK_FOLLOW) ==
                0) {
            temporary.name = candidate;
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// From the start of `from` whatever was read before, so a copy can be tried
// again.
bool copyAll(int from, int to) {
    char buffer[65536];
    for (off_t offset = 0;;) {
        const ssize_t got = pread(from, buffer, sizeof buffer, offset);
        if (got == 0) return true;
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (!writeAll(to, std::string_view(buffer, static_cast<std::size_t>(got)))) return false;
        offset += got;
    }
}

// A name that stays inside the folder.
bool isPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

}  // namespace

int placeInFolder(int folderFd, std::string_view name, mode_t mode, bool replace,
                  const std::function<bool(int)>& fill) {
    if (!isPlainName(name)) return EINVAL;
    Temporary temporary = createTemporary(folderFd, name, mode);
    if (temporary.fd < 0) return errno;
    const std::string target(name);
    const bool unnamed = temporary.name.empty();
    int code = fchmod(temporary.fd, mode) == 0 && fill(temporary.fd) && syncFile(temporary.fd)
                   ? 0
                   : (errno ? errno : EIO);
    if (code == 0 && unnamed) {
        // Without `replace` the file takes its name directly: linking never
        // replaces what is there.
        if (!replace) {
            const std::string procPath = "/proc/self/fd/" + std::to_string(temporary.fd);
            if (linkat(temporary.fd, "", folderFd, target.c_str(), AT_EMPTY_PATH) == 0 ||
                (errno != EEXIST && linkat(AT_FDCWD, procPath.c_str(), folderFd, target.c_str(),
                                           AT_SYMLINK_FOLLOW) == 0)) {
                close(temporary.fd);
                syncFile(folderFd);
                return 0;
            }
            code = errno;
        } else if (!nameTemporary(temporary, folderFd, name)) {
            code = errno;
        }
        if (code != 0 && code != EEXIST && code != ENOSPC && code != EDQUOT) {
            // Linking by descriptor is not possible here: named temporary
            // files from now on.
            close(temporary.fd);
            unnamedFilesWork = false;
            return placeInFolder(folderFd, name, mode, replace, fill);
        }
    }
    // On Linux the descriptor is gone even when close reports EINTR.
    if (close(temporary.fd) != 0 && errno != EINTR && code == 0) code = errno;
    if (code == 0) {
        const unsigned flags = replace ? 0 : RENAME_NOREPLACE;
        if (renameat2(folderFd, temporary.name.c_str(), folderFd, target.c_str(), flags) != 0)
            code = errno;
    }
    if (code != 0) {
        if (!temporary.name.empty()) unlinkat(folderFd, temporary.name.c_str(), 0);
        return code;
    }
    // Makes the rename itself durable; a file system that cannot sync a
    // folder has the new file in place all the same.
    syncFile(folderFd);
    return 0;
}


bool writeFileAtomically(const std::string& path, std::string_view content, std::string* error) {
    const std::string folder = folderOrCurrent(path);
    const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) return fail(error, errno);
    // An existing file keeps its permission bits; a new one gets what
    // open(2) would have given it.
    struct stat info {};
    const std::string name(fileName(path));
    const mode_t mode = fstatat(folderFd, name.c_str(), &info, 0) == 0 && S_ISREG(info.st_mode)
                            ? info.st_mode & 07777
                            : 0666 & ~currentUmask();
    const int code =
        placeInFolder(folderFd, name, mode, true, [content](int fd) { return writeAll(fd, content); });
    close(folderFd);
    return code == 0 || fail(error, code);
}

int copyFileAt(int fromFolder, std::string_view fromName, int toFolder, std::string_view toName,
               bool replace) {
    if (!isPlainName(fromName)) return EINVAL;
    const std::string from(fromName);
    // O_NOFOLLOW: a link put in the file's place is not followed.
    const int source =
        openat(fromFolder, from.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (source < 0) return errno;
    struct stat info {};
    int code = 0;
    if (fstat(source, &info) != 0)
        code = errno;
    else if (!S_ISREG(info.st_mode))
        code = EINVAL;
    else
        code = placeInFolder(toFolder, toName, info.st_mode & 0777, replace,
                             [source](int fd) { return copyAll(source, fd); });
    close(source);
    return code;
}

std::string folderOrCurrent(std::string_view path) {
    const std::string_view folder = parentFolder(path);
    return folder.empty() ? std::string(".") : std::string(folder);
}

bool makeFolders(const std::string& path) {
    if (path.empty()) return false;
    // Create each ancestor in turn; one that already exists is fine.
    for (auto slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), 0755);
    }
    mkdir(path.c_str(), 0755);
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace tarnwk::posix
