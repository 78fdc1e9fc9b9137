#pragma once

#include <functional>
#include <string>

namespace tarnwk::test {

// Runs `checks` (gtest expectations) in a child process as an unprivileged
// user, so that permissions bind even when the tests run as root; `folder`
// is handed to that user first. True when the child ran and every check
// held; a failing check prints its message as usual.
bool asUnprivilegedUser(const std::string& folder, const std::function<void()>& checks);

// Runs `checks` in a child process, for what would change the test process
// itself (resource limits). True when every check held.
bool inChildProcess(const std::function<void()>& checks);

}  // namespace tarnwk::test
