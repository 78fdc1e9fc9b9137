#include "platform/posix/PosixProcesses.h"

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <charconv>
#include <memory>

namespace tarnwk::posix {
namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

std::optional<std::int64_t> processIdOf(const char* name) {
    std::int64_t id = 0;
    const char* end = name + std::char_traits<char>::length(name);
    const auto [ptr, error] = std::from_chars(name, end, id);
    if (error != std::errc() || ptr != end || id <= 0) return std::nullopt;
    return id;
}

std::optional<std::string> readLink(const std::string& path) {
    std::string target(4096, '\0');
    const ssize_t length = readlink(path.c_str(), target.data(), target.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) return std::nullopt;
    target.resize(static_cast<std::size_t>(length));
    // The kernel marks a program file deleted since it started.
    constexpr std::string_view kDeleted = " (deleted)";
    if (target.ends_with(kDeleted)) target.resize(target.size() - kDeleted.size());
    return target;
}

}  // namespace

std::vector<platform::ProcessInfo> PosixProcesses::list() {
    std::vector<platform::ProcessInfo> processes;
    std::unique_ptr<DIR, DirCloser> proc(opendir(procRoot_.c_str()));
    if (!proc) return processes;
    while (const dirent* entry = readdir(proc.get())) {
        const auto id = processIdOf(entry->d_name);
        if (!id) continue;
        // Kernel threads and processes of other users give no path.
        processes.push_back({*id, readLink(procRoot_ + "/" + entry->d_name + "/exe")});
    }
    return processes;
}

std::int64_t PosixProcesses::ownId() {
    return getpid();
}

bool PosixProcesses::terminate(std::int64_t id) {
    if (id <= 0 || id == getpid()) return false;
    return kill(static_cast<pid_t>(id), SIGKILL) == 0;
}

}  // namespace tarnwk::posix
