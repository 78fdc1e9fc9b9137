#include "platform/posix/MountTable.h"

#include <algorithm>
#include <sstream>
#include <unordered_set>

namespace tarnwk::posix {
namespace {

// Types whose contents are not files a user keeps on a disk.
const std::unordered_set<std::string_view> kSkippedTypes = {
    "proc",
    "sysfs",
    "devtmpfs",
    "devpts",
    "tmpfs",
    "ramfs",
    "cgroup",
    "cgroup2",
    "securityfs",
    "debugfs",
    "tracefs",
    "pstore",
    "bpf",
    "mqueue",
    "hugetlbfs",
    "configfs",
    "fusectl",
    "autofs",
    "binfmt_misc",
    "efivarfs",
    "rpc_pipefs",
    "nsfs",
    "selinuxfs",
    "nfsd",
    "sockfs",
    "pipefs",
    "squashfs",
    // Network file systems: another machine's disks.
    "nfs",
    "nfs4",
    "cifs",
    "smb3",
    "smbfs",
    "ncpfs",
    "afs",
    "ceph",
    "glusterfs",
    "9p",
    "fuse.sshfs",
    "fuse.gvfsd-fuse",
    "fuse.portal",
    "fuse.rclone",
    "davfs",
};

// mountinfo escapes blanks, tabs, newlines and backslashes as \ooo.
std::string unescapeOctal(std::string_view field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            std::all_of(field.begin() + i + 1, field.begin() + i + 4,
                        [](char c) { return c >= '0' && c <= '7'; })) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

struct Mount {
    std::string device;  // major:minor
    std::string root;    // the part of the device mounted here
    std::string point;
};

bool isWithin(const std::string& path, const std::string& folder) {
    if (folder == "/") return true;
    return path == folder || (path.starts_with(folder) && path[folder.size()] == '/');
}

}  // namespace

std::vector<std::string> scanRootsFromMountInfo(std::string_view mountInfo) {
    std::vector<Mount> mounts;
    std::istringstream lines{std::string(mountInfo)};
    std::string line;
    while (std::getline(lines, line)) {
        // id parent major:minor root point options [optional...] - type source super
        std::istringstream fields(line);
        std::vector<std::string> words;
        for (std::string word; fields >> word;) words.push_back(word);
        const auto dash = std::find(words.begin(), words.end(), "-");
        if (words.size() < 5 || dash == words.end() || dash + 1 == words.end()) continue;
        if (kSkippedTypes.contains(*(dash + 1))) continue;
        mounts.push_back({words[2], unescapeOctal(words[3]), unescapeOctal(words[4])});
    }
    // Each part of a device is walked once: a mount whose root lies inside
    // the root of one already kept for the same device adds nothing.
    std::stable_sort(mounts.begin(), mounts.end(),
                     [](const Mount& a, const Mount& b) { return a.root.size() < b.root.size(); });
    std::vector<const Mount*> kept;
    std::vector<std::string> roots;
    for (const Mount& mount : mounts) {
        const bool covered = std::any_of(kept.begin(), kept.end(), [&](const Mount* other) {
            return other->device == mount.device && isWithin(mount.root, other->root);
        });
        if (covered) continue;
        kept.push_back(&mount);
        roots.push_back(mount.point);
    }
    std::sort(roots.begin(), roots.end());
    return roots;
}

}  // namespace tarnwk::posix
