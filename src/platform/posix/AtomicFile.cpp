#include "platform/posix/AtomicFile.h"

#include "platform/PathText.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnwk::posix {

namespace {

std::string systemMessage(int code) {
    return std::generic_category().message(code);
}

bool fail(std::string* error, int code) {
    if (error) *error = systemMessage(code);
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

// An existing file keeps its permission bits; a new one gets what open(2)
// would have given it.
mode_t modeFor(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return info.st_mode & 07777;
    return 0666 & ~currentUmask();
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

bool syncFile(int fd) {
    while (fsync(fd) != 0) {
        if (errno != EINTR) return false;
    }
    return true;
}

// Makes the rename itself durable. Some file systems cannot sync a folder;
// by then the new file is in place, so that is not reported as a failure.
void syncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    syncFile(fd);
    close(fd);
}

// Fills the open temporary file and closes it; on failure errno tells why.
template <typename Fill>
bool fillAndClose(int fd, mode_t mode, Fill fill) {
    const bool ok = fchmod(fd, mode) == 0 && fill(fd) && syncFile(fd);
    const int savedErrno = errno;
    // On Linux the descriptor is gone even when close reports EINTR.
    const bool closed = close(fd) == 0 || errno == EINTR;
    if (!ok) errno = savedErrno;
    return ok && closed;
}

// Writes a temporary file beside `path` with `fill` and renames it over
// `path`; the temporary file never outlives a failure.
template <typename Fill>
bool replaceAtomically(const std::string& path, mode_t mode, std::string* error, Fill fill) {
    const std::string_view name = fileName(path);
    if (name.empty()) return fail(error, EISDIR);
    const std::string folder = folderOrCurrent(path);
    std::string temporary = joinPath(folder, "." + std::string(name) + ".XXXXXX");
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return fail(error, errno);

    if (!fillAndClose(fd, mode, fill) || rename(temporary.c_str(), path.c_str()) != 0) {
        const int code = errno;
        unlink(temporary.c_str());
        return fail(error, code);
    }
    syncFolder(folder);
    return true;
}

bool copyAll(int from, int to) {
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(from, buffer, sizeof buffer);
        if (got == 0) return true;
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (!writeAll(to, std::string_view(buffer, static_cast<std::size_t>(got)))) return false;
    }
}

}  // namespace

bool writeFileAtomically(const std::string& path, std::string_view content, std::string* error) {
    return replaceAtomically(path, modeFor(path), error,
                             [content](int fd) { return writeAll(fd, content); });
}

bool copyFileAtomically(const std::string& from, const std::string& to, std::string* error) {
    // O_NOFOLLOW: a link put in the found file's place is not followed.
    const int source = open(from.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (source < 0) return fail(error, errno);
    struct stat info {};
    bool copied = false;
    if (fstat(source, &info) != 0) {
        fail(error, errno);
    } else if (!S_ISREG(info.st_mode)) {
        fail(error, EINVAL);
    } else {
        copied = replaceAtomically(to, info.st_mode & 0777, error,
                                   [source](int fd) { return copyAll(source, fd); });
    }
    close(source);
    return copied;
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
