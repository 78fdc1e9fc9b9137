#include "support/Unprivileged.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace tarnwk::test {

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
            const uid_t nobody = 65534;  // and its group, on every common system
            lchown(folder.c_str(), nobody, nobody);
            for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
                lchown(entry.path().c_str(), nobody, nobody);
            if (setgroups(0, nullptr) != 0 || setresgid(nobody, nobody, nobody) != 0 ||
                setresuid(nobody, nobody, nobody) != 0)
                _exit(2);
        }
        checks();
    });
}

}  // namespace tarnwk::test
