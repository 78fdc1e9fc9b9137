// The process sweep: which running programs it ends, what it shows, and that
// it never ends the program itself; over the fake process table, a prepared
// /proc and real child processes.
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
using Ids = std::vector<std::int64_t>;

TEST(ProcessSweep, EndsProgramsNamedByADefinitionAndAnnouncesEach) {
    test::ScanHarness h;
    h.processes.self = 77;
    h.processes.running = {
        {10, "/opt/x/EVIL.EXE"},       {11, "/usr/bin/bash"},  {12, "/srv/deep/twin.ocx"},
        {13, "/usr/bin/evil.exe.old"}, {14, "/home/u/xb.exe"}, {15, "/a/quarantine me"},
        {77, "/opt/tarnwick/b.exe"},   {78, std::nullopt},     {79, "/"},
        {80, "/opt/tarnwick/b.exe"}};  // our own program under another id
    KillMatchingProcesses(h.program);
    EXPECT_EQ(h.processes.terminated, (Ids{10, 12, 80}));
    ASSERT_EQ(h.ui.shown.size(), 3u);
    EXPECT_EQ(h.ui.shown[0].text, "same");
    EXPECT_EQ(h.ui.shown[0].buttons, platform::MessageButtons::Ok);
    EXPECT_EQ(h.ui.shown[0].icon, platform::MessageIcon::None);

    // Two definitions of one name: announced and ended twice.
    h.program.setDefinitions(DefinitionsList({"Ver1", "b.exe|One", "B.EXE|Two"}));
    h.processes.running = {{8, "/x/b.exe"}};
    h.processes.terminated.clear();
    KillMatchingProcesses(h.program);
    EXPECT_EQ(h.processes.terminated, (Ids{8, 8}));
    EXPECT_EQ(h.ui.shown.size(), 5u);
    EXPECT_FALSE(KillProcess(h.processes, 77));
}

TEST(PosixProcesses, ReadsEachProgramFromProcEvenWhenItsFileWasDeleted) {
    test::TempFolder proc;
    for (const char* id : {"42", "43", "7x", "self"}) fs::create_directories(proc / id);
    fs::create_symlink("/tmp/gone/evil.exe (deleted)", proc / "42/exe");  // 43 is a kernel thread
    fs::create_symlink("/bin/sh", proc / "7x/exe");
    fs::create_symlink("/bin/sh", proc / "self/exe");
    posix::PosixProcesses processes(proc.path());
    auto list = processes.list();
    std::sort(list.begin(), list.end(), [](auto& a, auto& b) { return a.id < b.id; });
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].id, 42);
    EXPECT_EQ(list[0].programPath, "/tmp/gone/evil.exe");
    EXPECT_EQ(list[1].programPath, std::nullopt);
}

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
    posix::PosixProcesses processes(tmp / "proc");
    test::ScanHarness h(nullptr, "/opt/tarnwick", &processes);
    const std::string self = fs::read_symlink("/proc/self/exe").filename().string();
    const std::string upper = "TWKTEST" + std::to_string(getpid()) + ".EXE";
    h.program.setDefinitions(DefinitionsList({"Ver1", upper + "|Test", self + "|Ourselves"}));
    KillMatchingProcesses(h.program);
    // One still running after a few seconds is ended here, so a failing test
    // never leaves a process behind.
    int status = 0;
    for (int i = 0; i < 1000 && waitpid(child, &status, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (kill(child, SIGTERM) == 0) waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_FALSE(processes.terminate(child)) << "no such process any more";
    EXPECT_EQ(h.ui.shown.size(), 1u) << "only the other is announced";
    EXPECT_EQ(kill(getpid(), 0), 0);
}

}  // namespace
}  // namespace tarnwk
