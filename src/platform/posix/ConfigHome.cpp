#include "platform/posix/ConfigHome.h"

#include <cerrno>
#include <cstdlib>
#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace tarnwk::posix {

namespace {

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

constexpr std::size_t kMaxEntryBytes = 1 << 20;

// getpwuid_r rather than getpwuid: the latter shares one buffer between threads.
std::string passwordHome() {
    const long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 4096);
    passwd entry{};
    passwd* found = nullptr;
    while (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE &&
           buffer.size() < kMaxEntryBytes) {
        buffer.resize(buffer.size() * 2);
    }
    return found && found->pw_dir ? std::string(found->pw_dir) : std::string();
}

// Relative values are invalid under the XDG rules and must be ignored.
std::string xdgFolder(const char* variable, const char* underHome) {
    std::string configured = environmentValue(variable);
    if (!configured.empty() && configured.front() == '/') return configured;
    return homeFolder() + underHome;
}

}  // namespace

std::string configHome() {
    return xdgFolder("XDG_CONFIG_HOME", "/.config");
}

std::string dataHome() {
    return xdgFolder("XDG_DATA_HOME", "/.local/share");
}

std::string homeFolder() {
    std::string home = environmentValue("HOME");
    return home.empty() ? passwordHome() : home;
}

}  // namespace tarnwk::posix
