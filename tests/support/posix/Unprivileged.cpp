#include "support/Unprivileged.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace tarnwk::test {
namespace {

constexpr uid_t kNobody = 65534;

void handOver(const std::string& folder, uid_t user, gid_t group) {
    namespace fs = std::filesystem;
    lchown(folder.c_str(), user, group);
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        lchown(entry.path().c_str(), user, group);
}

}  // namespace

bool inChildProcess(const std::function<void()>& checks) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        checks();
        std::fflush(nullptr);
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool asUnprivilegedUser(const std::string& folder, const std::function<void()>& checks) {
    return inChildProcess([&] {
        if (geteuid() == 0) {
            const passwd* nobody = getpwnam("nobody");
            const uid_t user = nobody ? nobody->pw_uid : kNobody;
            const gid_t group = nobody ? nobody->pw_gid : kNobody;
            handOver(folder, user, group);
            if (setgroups(0, nullptr) != 0 || setresgid(group, group, group) != 0 ||
                setresuid(user, user, user) != 0)
                _exit(2);
        }
        checks();
    });
}

}  // namespace tarnwk::test
