// Quarantine and Purge over real folders: what is copied where, what is
// deleted and when not, and what the list and the total look like afterwards.
// The process sweep before them over a prepared /proc of real processes:
// which running programs it ends, what it shows, and never the program itself.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixProcesses.h"
#include "removal/FoundEntries.h"
#include "removal/ProcessSweep.h"
#include "removal/PurgeMarked.h"
#include "removal/ScanHarness.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"

namespace tarnwk {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;
using test::present;

class OnDisk : public ::testing::Test {
protected:
    OnDisk() {
        tmp.makeFolder("app/Quarantine");
        // One running program named by a definition; each termination records
        // whether `watched` was still in place.
        h.processes.running = {{7, "/usr/bin/B.EXE"}};
        h.processes.onTerminate = [this](std::int64_t) {
            fileWasThere.push_back(present(watched));
        };
    }
    void scan() { h.scanInto(window, tmp / "scan"); }
    void markAndClick(std::initializer_list<std::size_t> positions, ui::Button& button) {
        for (const std::size_t position : positions) window.lstadware.setSelected(position, true);
        button.click();
    }
    std::string read(const std::string& relative) const {
        return test::readWholeFile(tmp / relative);
    }
    Texts quarantineNames() const { return test::entryNames(tmp / "app/Quarantine"); }

    test::TempFolder tmp;
    posix::PosixFileSystem disk;
    test::ScanHarness h{&disk, tmp / "app"};
    frmscan window{h.program};
    std::string watched;
    std::vector<bool> fileWasThere;
};

TEST_F(OnDisk, MarkedEntriesMoveInListOrderAfterTheSweepUnderTheirDefinitionsNames) {
    tmp.writeFile("scan/a", "innocent");  // what "a > b/..." cut at ">" would name
    tmp.writeFile("scan/a > b/b.exe", "found");
    watched = tmp.writeFile("scan/c/BAD.DLL", "dll");
    tmp.writeFile("scan/k/keep.TWK", "its own");
    tmp.writeFile("scan/m/b.exe", "unmarked");
    tmp.writeFile("scan/x/twin.ocx", "first");
    tmp.writeFile("scan/y/twin.ocx", "second");
    tmp.writeFile("scan/z/noext", "bare");
    tmp.writeFile("scan/z/noext.TWK", "the user's own");
    // Past PATH_MAX, built folder by folder relative to the last, as no path
    // could reach it; a leaf folder beside each keeps every level waiting.
    const std::string level(200, 'q');
    int deep = open(tmp.makeFolder("scan").c_str(), O_RDONLY | O_DIRECTORY);
    for (int depth = 0; depth < 25; ++depth) {
        ASSERT_EQ(mkdirat(deep, level.c_str(), 0755) + mkdirat(deep, "zz", 0755), 0);
        const int next = openat(deep, level.c_str(), O_RDONLY | O_DIRECTORY);
        close(deep);
        deep = next;
    }
    const int file = openat(deep, "bad.dll", O_CREAT | O_WRONLY, 0644);
    ASSERT_EQ(write(file, "deep", 4), 4);
    close(file);
    // The walk keeps to a quarter of the descriptors it may open, however deep.
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    const rlimit few{24, limit.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &few), 0);
    scan();
    setrlimit(RLIMIT_NOFILE, &limit);
    ASSERT_EQ(window.lstadware.count(), 8u);
    markAndClick({0, 1, 2, 4, 5, 6, 7}, window.cmdquarantine);
    EXPECT_EQ(fileWasThere, std::vector<bool>{true}) << "the sweep comes first";
    EXPECT_FALSE(KillProcess(h.processes, h.processes.ownId()))
        << "whatever the system would allow";
    EXPECT_EQ(quarantineNames(), (Texts{"b.exe", "bad.dll", "keep.twk", "noext", "twin.ocx"}));
    // What each path holds, "-" where nothing is left: the later of two
    // names replaces the earlier in quarantine; a backup never replaces a file, not
    // even the found one named like a backup.
    std::string copies;
    for (const char* path :
         {"app/Quarantine/twin.ocx", "scan/x/twin.TWK", "scan/y/twin.TWK", "scan/z/noext.TWK",
          "scan/z/noext.1.TWK", "scan/a > b/b.TWK", "scan/a", "app/Quarantine/bad.dll",
          "scan/c/bad.TWK", "app/Quarantine/keep.twk", "scan/k/keep.1.TWK", "scan/x/twin.ocx",
          "scan/y/twin.ocx", "scan/z/noext", "scan/a > b/b.exe", "scan/k/keep.TWK",
          "scan/c/BAD.DLL"})
        copies += (present(tmp / path) ? read(path) : "-") + "|";
    EXPECT_EQ(copies,
              "second|first|second|the user's own|bare|found|innocent|deep|dll|its own|its own|"
              "-|-|-|-|-|-|");
    EXPECT_EQ(window.lstadware.items(), (Texts{tmp / "scan/m/b.exe > Bee"}));
    EXPECT_EQ(std::pair(faccessat(deep, "bad.TWK", F_OK, 0), faccessat(deep, "bad.dll", F_OK, 0)),
              std::pair(0, -1));
    close(deep);
    EXPECT_EQ(h.setting(Setting::TOTALOBJECTSREMOVED), "7") << "stored at once";
    EXPECT_FALSE(h.ui.busy);
    EXPECT_TRUE(window.cmdquarantine.enabled()) << "more entries may be moved later";

    const std::size_t messages = h.ui.shown.size();
    window.cmddelete.click();
    EXPECT_EQ(h.ui.shown.size(), messages) << "nothing marked, nothing asked";

    // Without a quarantine copy the found file is kept; its backup is made.
    fs::remove_all(tmp / "app/Quarantine");
    markAndClick({0}, window.cmdquarantine);
    EXPECT_EQ(read("scan/m/b.exe") + read("scan/m/b.TWK"), "unmarkedunmarked");
    EXPECT_FALSE(present(tmp / "app/Quarantine")) << "the move never creates the folder";
    EXPECT_TRUE(window.lstadware.selected(0));
    EXPECT_EQ(h.ui.shown.back().text,
              "1 marked file could not be removed and stay marked in the list:\r\n- 1 could not "
              "be copied into quarantine (the disk may be full, or rights are missing)");

    // Purge deletes it for good once confirmed, without a sweep or a backup.
    h.ui.answers = {platform::MessageResult::No, platform::MessageResult::Yes};
    window.cmddelete.click();
    EXPECT_TRUE(present(tmp / "scan/m/b.exe"));
    window.cmddelete.click();
    EXPECT_EQ(std::pair(h.ui.shown.back().text, h.ui.shown.back().buttons),
              std::pair(std::string(kPurgeQuestion), platform::MessageButtons::YesNo));
    EXPECT_EQ(test::entryNames(tmp / "scan/m"), Texts{"b.TWK"});
    EXPECT_EQ(fileWasThere.size() + window.lstadware.count(), 2u);
    EXPECT_EQ(h.setting(Setting::TOTALOBJECTSREMOVED), "8") << "stored at once";
}

TEST_F(OnDisk, AFileThatIsNoLongerTheFoundOneIsLeftAlone) {
    const std::string linked = tmp.writeFile("scan/1/b.exe", "found");
    const std::string replaced = tmp.writeFile("scan/2/b.exe", "found");
    tmp.writeFile("scan/4/Evil.exe", "found");
    tmp.writeFile("scan/5/a/b.exe", "found");
    const std::string victim = tmp.writeFile("victim.txt", "precious");
    scan();
    fs::remove(linked);
    fs::create_symlink(victim, linked);
    fs::rename(tmp.writeFile("scan/2/newcomer", "newcomer"), replaced);
    // A quarantine copy onto the found file itself would leave nothing to
    // delete safely.
    fs::create_hard_link(tmp / "scan/4/Evil.exe", tmp / "app/Quarantine/Evil.exe");
    // A folder swapped for a link to a hard link of the very file: only the
    // link in the folder chain tells the two ways apart.
    fs::create_directories(tmp / "outside/a");
    fs::create_hard_link(tmp / "scan/5/a/b.exe", tmp / "outside/a/b.exe");
    fs::rename(tmp / "scan/5", tmp / "scan/was");
    fs::create_directory_symlink(tmp / "outside", tmp / "scan/5");
    markAndClick({0, 1, 2, 3}, window.cmdquarantine);
    EXPECT_TRUE(fs::is_symlink(linked));
    EXPECT_EQ(read("victim.txt") + read("scan/2/b.exe") + read("scan/4/Evil.exe"),
              "preciousnewcomerfound");
    EXPECT_EQ(test::entryNames(tmp / "outside/a"), Texts{"b.exe"});
    EXPECT_EQ(quarantineNames(), Texts{"Evil.exe"});
    EXPECT_FALSE(present(tmp / "scan/1/b.TWK") || present(tmp / "scan/2/b.TWK"));
    // Nothing was removed: every entry stays marked, uncounted, and one
    // message says why.
    EXPECT_EQ(window.lstadware.selectedCount(), 4u);
    EXPECT_EQ(h.program.totalObjectsRemoved.value(), 0);
    ASSERT_EQ(h.ui.shown.size(), 2u) << "the sweep's box and the one message";
    EXPECT_EQ(h.ui.shown[1].text, notRemovedMessage({3, 1, 0}));
    // The same with the start folder itself swapped.
    fs::rename(tmp / "scan", tmp / "scan-was");
    fs::create_directories(tmp / "elsewhere/5/a");
    fs::create_hard_link(tmp / "outside/a/b.exe", tmp / "elsewhere/5/a/b.exe");
    fs::create_directory_symlink(tmp / "elsewhere", tmp / "scan");
    window.cmdquarantine.click();
    EXPECT_EQ(test::entryNames(tmp / "elsewhere/5/a"), Texts{"b.exe"});
}

// Neither Quarantine nor Purge can delete a file in a read-only folder.
TEST_F(OnDisk, AReadOnlyFolderKeepsItsFileButTheQuarantineCopyIsMade) {
    tmp.writeFile("scan/ro/bad.dll", "payload");
    tmp.writeFile("scan/rw/b.exe");
    EXPECT_TRUE(test::asUnprivilegedUser(tmp.path(), [&] {
        scan();
        ASSERT_EQ(chmod((tmp / "scan/ro").c_str(), 0555), 0);
        markAndClick({0}, window.cmdquarantine);
        EXPECT_EQ(read("scan/ro/bad.dll") + read("app/Quarantine/bad.dll"), "payloadpayload");
        EXPECT_FALSE(present(tmp / "scan/ro/bad.TWK"));
        EXPECT_EQ(h.program.totalObjectsRemoved.value(), 0);
        EXPECT_EQ(h.ui.shown.back().text, notRemovedMessage({0, 0, 1}));

        h.ui.answers = {platform::MessageResult::Yes};
        markAndClick({1}, window.cmddelete);
        EXPECT_EQ(test::entryNames(tmp / "scan/rw"), Texts{}) << "the other goes";
        EXPECT_EQ(h.program.totalObjectsRemoved.value(), 1);
        EXPECT_EQ(h.ui.shown.back().text, notRemovedMessage({0, 0, 1}));
    }));
}

TEST(ProcessSweepOnLinux, EndsADeletedProgramByNameButNeverUs) {
    test::TempFolder tmp;
    const std::string name = "twktest" + std::to_string(getpid()) + ".exe";
    const std::string program = tmp / name;
    fs::copy_file("/bin/sleep", program);  // executable, as the original is
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
