// The process sweep over a prepared /proc of real processes: which running
// programs it ends, what it shows, and that it never ends the program itself.
#include "removal/ProcessSweep.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/posix/PosixProcesses.h"
#include "removal/ScanHarness.h"
#include "support/TempFolder.h"

namespace tarnwk {
namespace {

namespace fs = std::filesystem;

TEST(ProcessSweepOnLinux, EndsADeletedProgramByNameButNeverUs) {
    test::TempFolder tmp;
    const std::string name = "twktest" + std::to_string(getpid()) + ".exe";
    const std::string program = tmp / name;
    fs::copy_file("/bin/sleep", program);
    fs::permissions(program, fs::perms::owner_exec, fs::perm_options::add);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        execl(program.c_str(), name.c_str(), "30", static_cast<char*>(nullptr));
        _exit(127);
    }
    // Wait until the child runs the program, then delete its file.
    const auto exe = [](pid_t id) { return "/proc/" + std::to_string(id) + "/exe"; };
    std::error_code error;
    for (int i = 0; i < 2000 && fs::read_symlink(exe(child), error) != program; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    fs::remove(program);
    // The child and this test as the kernel shows them, and nothing else, so
    // that a sweep can never reach another process on the machine.
    for (const pid_t id : {child, getpid()}) {
        fs::create_directories(tmp / exe(id).substr(1, exe(id).size() - 5));
        fs::create_symlink(fs::read_symlink(exe(id)), tmp / exe(id).substr(1));
    }
    // A kernel thread shows no program; a name that is not a number is no
    // process.
    fs::create_directories(tmp / "proc/43");
    fs::create_directories(tmp / "proc/7x");
    fs::create_symlink("/bin/sh", tmp / "proc/7x/exe");
    posix::PosixProcesses processes(tmp / "proc");
    EXPECT_EQ(processes.list().size(), 3u);
    test::ScanHarness h(nullptr, "/opt/tarnwick", &processes);
    h.program.setDefinitions(DefinitionsList(
        {"Ver1", "TWKTEST" + std::to_string(getpid()) + ".EXE|Test", name + "|Again",
         fs::read_symlink("/proc/self/exe").filename().string() + "|Ourselves"}));
    KillMatchingProcesses(h.program);
    // One still running after a few seconds is ended here, so a failing test
    // never leaves a process behind.
    int status = 0;
    for (int i = 0; i < 1000 && waitpid(child, &status, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (kill(child, SIGTERM) == 0) waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_FALSE(processes.terminate(child)) << "no such process any more";
    ASSERT_EQ(h.ui.shown.size(), 2u) << "once for each definition, never for us";
    EXPECT_EQ(std::tuple(h.ui.shown[0].text, h.ui.shown[0].buttons, h.ui.shown[0].icon),
              std::tuple("same", platform::MessageButtons::Ok, platform::MessageIcon::None));
}

}  // namespace
}  // namespace tarnwk
