#include "platform/posix/PosixFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "platform/posix/AtomicFile.h"

namespace tarnwk::posix {
namespace {

// The records getdents64 fills a buffer with.
struct LinuxDirent64 {
    ino64_t inode;
    off64_t offset;
    unsigned short length;
    unsigned char type;
    char name[];
};

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

platform::FileId idOf(const struct stat& info) {
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

// A name of one entry of the folder, as the system call wants it; empty when
// `name` is not one (a path, "." or "..").
bool entryName(std::string_view name, char (&out)[256]) {
    if (name.empty() || name.size() >= sizeof out || name == "." || name == ".." ||
        name.find('/') != std::string_view::npos)
        return false;
    std::memcpy(out, name.data(), name.size());
    out[name.size()] = '\0';
    return true;
}

// openat2 refuses to cross into another mount by itself; kernels before 5.6
// lack it, and then the volume is compared after opening.
std::atomic<bool> openat2Works{true};

int openOnSameVolume(int folderFd, const char* name) {
    if (openat2Works) {
        open_how how{};
        how.flags = kFolderFlags;
        how.resolve = RESOLVE_NO_XDEV | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
        const long fd = syscall(SYS_openat2, folderFd, name, &how, sizeof how);
        if (fd >= 0 || (errno != ENOSYS && errno != EPERM)) return static_cast<int>(fd);
        openat2Works = false;
    }
    return -2;  // ask the caller to compare volumes itself
}

}  // namespace

PosixFolder::~PosixFolder() {
    close(fd_);
}

platform::FileId PosixFolder::id() {
    if (!id_) {
        struct stat info {};
        id_ = fstat(fd_, &info) == 0 ? idOf(info) : platform::FileId{};
    }
    return *id_;
}

bool PosixFolder::list(platform::FolderListing& listing) {
    listing.clear();
    if (listedBefore_ && lseek(fd_, 0, SEEK_SET) != 0) return false;
    listedBefore_ = true;
    alignas(LinuxDirent64) char buffer[32768];
    for (;;) {
        const long got = syscall(SYS_getdents64, fd_, buffer, sizeof buffer);
        if (got == 0) return true;
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        for (long at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const LinuxDirent64*>(buffer + at);
            at += entry->length;
            const char* name = entry->name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
                continue;
            unsigned type = entry->type;
            if (type == DT_UNKNOWN) {  // some file systems leave the kind to a stat
                struct stat info {};
                if (fstatat(fd_, name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
                type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : DT_LNK;
            }
            // Dot-files are hidden; dot-folders are entered.
            if (type == DT_DIR)
                listing.add(name, platform::EntryKind::Folder);
            else if (type == DT_REG && name[0] != '.')
                listing.add(name, platform::EntryKind::File);
        }
    }
}

std::unique_ptr<platform::Folder> PosixFolder::openFolder(
    std::string_view name, bool sameVolume, const std::optional<platform::FileId>& expected) {
    char plain[256];
    if (!entryName(name, plain)) return nullptr;
    int fd = sameVolume ? openOnSameVolume(fd_, plain) : -2;
    const bool compareVolume = fd == -2 && sameVolume;
    if (fd == -2) fd = openat(fd_, plain, kFolderFlags);
    if (fd < 0) return nullptr;
    auto folder = std::make_unique<PosixFolder>(fd);
    if ((compareVolume && !folder->id().sameVolume(id())) || (expected && folder->id() != *expected))
        return nullptr;
    return folder;
}

std::optional<platform::FileId> PosixFolder::fileId(std::string_view name) {
    char plain[256];
    struct stat info {};
    if (!entryName(name, plain) || fstatat(fd_, plain, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(info.st_mode))
        return std::nullopt;
    return idOf(info);
}

platform::CopyResult PosixFolder::copyFile(std::string_view name, platform::Folder& target,
                                           std::string_view targetName, bool replace) {
    auto* to = dynamic_cast<PosixFolder*>(&target);
    if (!to) return platform::CopyResult::Failed;
    switch (copyFileAt(fd_, name, to->fd_, targetName, replace)) {
        case 0:
            return platform::CopyResult::Copied;
        case EEXIST:
            return replace ? platform::CopyResult::Failed : platform::CopyResult::NameTaken;
        default:
            return platform::CopyResult::Failed;
    }
}

bool PosixFolder::removeFile(std::string_view name) {
    char plain[256];
    struct stat info {};
    if (!entryName(name, plain) || fstatat(fd_, plain, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        S_ISDIR(info.st_mode))
        return false;
    return unlinkat(fd_, plain, 0) == 0;
}

std::unique_ptr<PosixFolder> openFolderAt(const std::string& path) {
    if (path.empty()) return nullptr;
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixFolder>(fd);
}

}  // namespace tarnwk::posix
