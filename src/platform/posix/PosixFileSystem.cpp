#include "platform/posix/PosixFileSystem.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

#include "platform/PathText.h"
#include "platform/posix/AtomicFile.h"
#include "platform/posix/ConfigHome.h"
#include "platform/posix/MountTable.h"
#include "platform/posix/PosixFolder.h"

namespace tarnwk::posix {
namespace {

std::string withoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

platform::ProgramFolders programFoldersFor(const std::string& executableFolder,
                                           const std::string& userDataHome,
                                           bool (*fileExists)(const std::string&)) {
    const std::string beside = joinPath(executableFolder, "ref.dat");
    if (fileExists(beside)) return {executableFolder, beside};
    const std::string shared = joinPath(parentFolder(executableFolder), "share/tarnwick/ref.dat");
    if (executableFolder != "/" && fileExists(shared)) return {userDataHome + "/Tarnwick", shared};
    return {executableFolder, beside};
}

std::string normalFolderPath(const std::string& path) {
    std::filesystem::path full(path);
    if (full.is_relative()) {
        std::error_code ec;
        full = std::filesystem::current_path(ec) / full;
    }
    return withoutTrailingSeparators(full.lexically_normal().string());
}

std::unique_ptr<platform::Folder> PosixFileSystem::openFolder(const std::string& path) {
    if (path.empty()) return nullptr;
    return openFolderAt(path);
}

std::string PosixFileSystem::fullPath(const std::string& path) {
    return normalFolderPath(path);
}

std::size_t PosixFileSystem::openFolderBudget() {
    // A quarter of what the process may open, so the rest of the program
    // (and a second walk) always has descriptors left.
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return 64;
    const rlim_t quarter = limit.rlim_cur == RLIM_INFINITY ? 4096 : limit.rlim_cur / 4;
    return static_cast<std::size_t>(std::clamp<rlim_t>(quarter, 8, 4096));
}

std::vector<platform::Drive> PosixFileSystem::driveList() {
    const auto mountInfo = readFile("/proc/self/mountinfo");
    // Every mount point is a drive of its own here, and each walk stays on
    // it: one that crossed into the mounts below it would walk them twice.
    std::vector<platform::Drive> drives;
    for (std::string& root :
         mountInfo ? scanRootsFromMountInfo(*mountInfo) : std::vector<std::string>{"/"})
        drives.push_back({std::move(root), true});
    return drives;
}

std::string PosixFileSystem::quickScanFolder() {
    return homeFolder();
}

std::string PosixFileSystem::executablePath() {
    std::error_code ec;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : path.string();
}

platform::ProgramFolders PosixFileSystem::programFolders() {
    const std::string exe = executablePath();
    const auto slash = exe.rfind('/');
    const std::string folder = slash == std::string::npos ? normalFolderPath(".")
                               : slash == 0               ? std::string("/")
                                                          : exe.substr(0, slash);
    return programFoldersFor(folder, dataHome(), [](const std::string& path) {
        struct stat info {};
        return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    });
}

platform::FileLength PosixFileSystem::fileLength(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return {platform::LengthStatus::Failed, 0, std::strerror(EISDIR)};
        return {platform::LengthStatus::Ok, static_cast<std::uint64_t>(info.st_size), {}};
    }
    if (errno == ENOENT) return {platform::LengthStatus::NotFound, 0, {}};
    return {platform::LengthStatus::Failed, 0, std::strerror(errno)};
}

std::optional<std::string> PosixFileSystem::readFile(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::string content;
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            close(fd);
            return std::nullopt;
        }
        content.append(buffer, static_cast<std::size_t>(got));
    }
    close(fd);
    return content;
}

bool PosixFileSystem::writeFile(const std::string& path, std::string_view content) {
    return writeFileAtomically(path, content);
}

bool PosixFileSystem::removeFile(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
    return unlink(path.c_str()) == 0;
}

bool PosixFileSystem::createFolder(const std::string& path) {
    return makeFolders(path);
}

}  // namespace tarnwk::posix
