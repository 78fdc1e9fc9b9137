#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarnwk::posix {

// The mount points a full scan walks, from the text of /proc/self/mountinfo:
// file systems that hold files on local storage, each device once (its whole
// root preferred to a bind mount of a part of it), sorted by path. Pseudo
// file systems (proc, sysfs, devtmpfs, cgroup, tmpfs, ...) and network file
// systems are left out.
std::vector<std::string> scanRootsFromMountInfo(std::string_view mountInfo);

}  // namespace tarnwk::posix
