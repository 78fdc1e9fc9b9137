#include "platform/posix/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

#include "platform/posix/AtomicFile.h"
#include "platform/posix/ConfigHome.h"
#include "platform/posix/MountTable.h"

namespace tarnwk::posix {
namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

enum class EntryKind { Folder, File, Other };

EntryKind kindOf(int folderFd, const dirent& entry) {
    switch (entry.d_type) {
        case DT_DIR:
            return EntryKind::Folder;
        case DT_REG:
            return EntryKind::File;
        case DT_UNKNOWN:
            break;
        default:
            return EntryKind::Other;  // links, devices, pipes, sockets
    }
    struct stat info {};
    if (fstatat(folderFd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::Other;
    if (S_ISDIR(info.st_mode)) return EntryKind::Folder;
    if (S_ISREG(info.st_mode)) return EntryKind::File;
    return EntryKind::Other;
}

bool isDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

std::string withoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

std::string normalFolderPath(const std::string& path) {
    std::filesystem::path full(path);
    if (full.is_relative()) {
        std::error_code ec;
        full = std::filesystem::current_path(ec) / full;
    }
    return withoutTrailingSeparators(full.lexically_normal().string());
}

std::optional<platform::FolderContents> PosixFileSystem::readFolder(const std::string& path,
                                                                    bool followLink) {
    platform::FolderContents contents;
    // A subfolder's path is its listed parent's plus a name: already normal.
    contents.path = followLink ? normalFolderPath(path) : withoutTrailingSeparators(path);
    // A subfolder swapped for a link since its parent was listed is not
    // followed.
    const int noFollow = followLink ? 0 : O_NOFOLLOW;
    const int fd = open(contents.path.c_str(), O_RDONLY | O_DIRECTORY | noFollow | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::unique_ptr<DIR, DirCloser> dir(fdopendir(fd));
    if (!dir) {
        close(fd);
        return std::nullopt;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0) return std::nullopt;
    contents.id = {static_cast<std::uint64_t>(info.st_dev),
                   static_cast<std::uint64_t>(info.st_ino)};

    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir.get());
        if (!entry) {
            if (errno != 0) return std::nullopt;
            break;
        }
        if (isDotOrDotDot(entry->d_name)) continue;
        switch (kindOf(fd, *entry)) {
            case EntryKind::Folder:
                contents.subfolders.emplace_back(entry->d_name);
                break;
            case EntryKind::File:
                if (entry->d_name[0] != '.') contents.files.emplace_back(entry->d_name);
                break;
            case EntryKind::Other:
                break;
        }
    }
    return contents;
}

std::optional<platform::FileId> PosixFileSystem::folderId(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
    return platform::FileId{static_cast<std::uint64_t>(info.st_dev),
                            static_cast<std::uint64_t>(info.st_ino)};
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

std::string PosixFileSystem::applicationFolder() {
    const std::string exe = executablePath();
    const auto slash = exe.rfind('/');
    if (slash == std::string::npos) return normalFolderPath(".");
    return slash == 0 ? std::string("/") : exe.substr(0, slash);
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

bool PosixFileSystem::copyFile(const std::string& from, const std::string& to) {
    return copyFileAtomically(from, to);
}

bool PosixFileSystem::removeFile(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
    return unlink(path.c_str()) == 0;
}

bool PosixFileSystem::isPlainFile(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<platform::FileId> PosixFileSystem::fileId(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return platform::FileId{static_cast<std::uint64_t>(info.st_dev),
                            static_cast<std::uint64_t>(info.st_ino)};
}

bool PosixFileSystem::createFolder(const std::string& path) {
    return makeFolders(path);
}

}  // namespace tarnwk::posix
