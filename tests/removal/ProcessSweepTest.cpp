// The process sweep: which running programs it ends, what it shows, and that
// it never ends the program itself; over the fake process table and over
// real child processes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

#include "platform/posix/PosixProcesses.h"
#include "removal/ProcessSweep.h"
#include "removal/ScanTestHarness.h"
#include "support/TempFolder.h"

namespace tarnwk {
namespace {

namespace fs = std::filesystem;
using Ids = std::vector<std::int64_t>;

class ProcessSweep : public ::testing::Test {
protected:
    void definitions(std::vector<std::string> entries) {
        h.program.setDefinitions(DefinitionsList(std::move(entries)));
    }
    std::vector<platform::ProcessInfo>& running() { return h.fake.processes.running; }
    Ids terminated() const { return h.fake.processes.terminated; }

    test::ScanTestHarness h;
};

TEST_F(ProcessSweep, EndsProgramsByFileNameIgnoringCaseAndFolder) {
    running() = {{10, "/opt/x/EVIL.EXE"},
                 {11, "/usr/bin/bash"},
                 {12, "/srv/deep/twin.ocx"},
                 {13, "/usr/bin/evil.exe.old"},
                 {14, "/home/u/xb.exe"}};
    KillMatchingProcesses(h.program);
    EXPECT_EQ(terminated(), (Ids{10, 12}));
    ASSERT_EQ(h.backend.shown.size(), 2u);
    for (const auto& message : h.backend.shown) {
        EXPECT_EQ(message.text, "same");
        EXPECT_EQ(message.buttons, platform::MessageButtons::Ok);
        EXPECT_EQ(message.icon, platform::MessageIcon::None);
    }
}

TEST_F(ProcessSweep, AnEntryWithoutSeparatorIsSkippedAndTheSweepGoesOn) {
    // "quarantine me" stands before twin.ocx in the definitions.
    running() = {{5, "/a/quarantine me"}, {6, "/a/twin.ocx"}};
    KillMatchingProcesses(h.program);
    EXPECT_EQ(terminated(), (Ids{6}));
}

TEST_F(ProcessSweep, TheHeaderIsNeverCompared) {
    definitions({"ver.exe|Header", "other.exe|Other"});
    running() = {{3, "/bin/ver.exe"}};
    KillMatchingProcesses(h.program);
    EXPECT_TRUE(terminated().empty());
    EXPECT_TRUE(h.backend.shown.empty());
}

TEST_F(ProcessSweep, TwoDefinitionsOfOneNameAnnounceAndEndTwice) {
    definitions({"Ver1", "b.exe|One", "B.EXE|Two"});
    running() = {{8, "/x/b.exe"}};
    KillMatchingProcesses(h.program);
    EXPECT_EQ(terminated(), (Ids{8, 8}));
    EXPECT_EQ(h.backend.shown.size(), 2u);
}

TEST_F(ProcessSweep, LeavesItselfAndUnreadableProcessesAlone) {
    h.fake.processes.self = 77;
    running() = {{77, "/opt/tarnwick/b.exe"}, {78, std::nullopt}, {79, "/"}};
    KillMatchingProcesses(h.program);
    EXPECT_TRUE(terminated().empty());
    EXPECT_TRUE(h.backend.shown.empty());
}

TEST_F(ProcessSweep, NoMatchShowsNothing) {
    running() = {{1, "/sbin/init"}, {2, "/usr/bin/bash"}};
    KillMatchingProcesses(h.program);
    EXPECT_TRUE(terminated().empty());
    EXPECT_TRUE(h.backend.shown.empty());
}

TEST_F(ProcessSweep, WorksWithoutTheWalksIndex) {
    h.program.definitionIndex.reset();
    running() = {{4, "/x/Bad.Dll"}};
    KillMatchingProcesses(h.program);
    EXPECT_EQ(terminated(), (Ids{4}));
}

// Records how many boxes the user had seen at each termination.
class OrderWatchingProcesses final : public platform::Processes {
public:
    std::vector<platform::ProcessInfo> list() override {
        return {{20, "/a/b.exe"}, {21, "/a/Evil.exe"}};
    }
    std::int64_t ownId() override { return 1; }
    bool terminate(std::int64_t) override {
        boxesSeen.push_back(ui->shown.size());
        return false;
    }
    test::FakeUi* ui = nullptr;
    std::vector<std::size_t> boxesSeen;
};

TEST(ProcessSweepOrder, EachMatchIsAnnouncedBeforeItsTermination) {
    OrderWatchingProcesses processes;
    test::ScanTestHarness h(nullptr, "/opt/tarnwick", &processes);
    processes.ui = &h.backend;
    KillMatchingProcesses(h.program);
    EXPECT_EQ(processes.boxesSeen, (std::vector<std::size_t>{1, 2}));
}

TEST(KillProcess, PassesTheSystemsAnswerButNeverEndsItself) {
    test::FakeProcesses processes;
    processes.self = 500;
    EXPECT_TRUE(KillProcess(processes, 501));
    EXPECT_FALSE(KillProcess(processes, 500));
    EXPECT_EQ(processes.terminated, (Ids{501}));
}

// The real process table, narrowed to the processes a test owns, so that a
// sweep can never reach anything else on the machine.
class OwnProcessesOnly final : public platform::Processes {
public:
    OwnProcessesOnly(platform::Processes& real, std::set<std::int64_t> ids)
        : real_(real), ids_(std::move(ids)) {}
    std::vector<platform::ProcessInfo> list() override {
        std::vector<platform::ProcessInfo> own;
        for (auto& process : real_.list())
            if (ids_.contains(process.id)) own.push_back(std::move(process));
        return own;
    }
    std::int64_t ownId() override { return real_.ownId(); }
    bool terminate(std::int64_t id) override { return ids_.contains(id) && real_.terminate(id); }

private:
    platform::Processes& real_;
    std::set<std::int64_t> ids_;
};

// Waits until the kernel shows `child` running `program`; false when the
// child ended first or the wait ran out.
bool waitUntilRunning(posix::PosixProcesses& processes, pid_t child, const std::string& program,
                      int* exitStatus) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (waitpid(child, exitStatus, WNOHANG) == child) return false;
        for (const auto& process : processes.list())
            if (process.id == child && process.programPath == program) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

std::string upperCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Waits for `child` to end; one still running after a few seconds is ended
// here, so a failing test never leaves a process behind.
int waitForEnd(pid_t child) {
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGTERM);
            waitpid(child, &status, 0);
            return status;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return status;
}

TEST(ProcessSweepOnLinux, EndsARunningProgramNamedByADefinition) {
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
    posix::PosixProcesses real;
    int status = 0;
    if (!waitUntilRunning(real, child, program, &status)) {
        // A child not yet reaped is still ours to end.
        if (waitpid(child, &status, WNOHANG) == 0) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
        }
        GTEST_SKIP() << "cannot run a program from the temporary folder";
    }

    OwnProcessesOnly processes(real, {real.ownId(), child});
    test::ScanTestHarness h(nullptr, "/opt/tarnwick", &processes);
    h.program.setDefinitions(DefinitionsList({"Ver1", upperCase(name) + "|Test"}));
    KillMatchingProcesses(h.program);

    status = waitForEnd(child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(h.backend.shown.size(), 1u);
    EXPECT_EQ(kill(getpid(), 0), 0) << "the sweep must not end us";
}

TEST(ProcessSweepOnLinux, ADefinitionNamingUsEndsOurTwinButNeverUs) {
    posix::PosixProcesses real;
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    // A forked copy runs the same program file under another id.
    const pid_t twin = fork();
    ASSERT_GE(twin, 0);
    if (twin == 0) {
        for (;;) pause();
    }
    OwnProcessesOnly processes(real, {real.ownId(), twin});
    test::ScanTestHarness h(nullptr, "/opt/tarnwick", &processes);
    h.program.setDefinitions(
        DefinitionsList({"Ver1", fs::path(self).filename().string() + "|The scanner itself"}));
    KillMatchingProcesses(h.program);

    const int status = waitForEnd(twin);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(h.backend.shown.size(), 1u) << "only the twin is announced";
    EXPECT_FALSE(KillProcess(real, getpid()));
}

}  // namespace
}  // namespace tarnwk
