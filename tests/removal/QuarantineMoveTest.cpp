// The quarantine move over real folders (and the fake file system where the
// disk cannot be made to refuse): what is copied where, what is deleted and
// when not, and what the list and the total look like afterwards.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/posix/PosixFileSystem.h"
#include "removal/QuarantineMove.h"
#include "removal/ScanTestHarness.h"
#include "scan/Peek.h"
#include "scan/frmscan.h"
#include "support/TempFolder.h"

namespace tarnwk {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

using test::present;

class QuarantineOnDisk : public ::testing::Test {
protected:
    QuarantineOnDisk() { tmp.makeFolder("app/Quarantine"); }

    void scan() { test::scanInto(window, h.program, disk, tmp / "scan"); }
    void mark(std::initializer_list<std::size_t> positions) {
        for (const std::size_t position : positions) window.lstadware.setSelected(position, true);
    }
    std::string quarantined(const std::string& name) const {
        return tmp / ("app/Quarantine/" + name);
    }
    Texts quarantineNames() const {
        Texts names;
        for (const auto& entry : fs::directory_iterator(tmp / "app/Quarantine"))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempFolder tmp;
    posix::PosixFileSystem disk;
    test::ScanTestHarness h{&disk, tmp / "app"};
    frmscan window{h.program};
};

TEST_F(QuarantineOnDisk, MarkedEntriesMoveInListOrderUnderTheDefinitionsSpelling) {
    const std::string keep = tmp.writeFile("scan/a/b.exe", "one");
    const std::string dll = tmp.writeFile("scan/b/BAD.DLL", "two");
    const std::string evil = tmp.writeFile("scan/c/Evil.exe", "three");
    scan();
    ASSERT_EQ(window.lstadware.count(), 3u);
    mark({1, 2});
    window.cmdquarantine.click();

    EXPECT_EQ(quarantineNames(), (Texts{"Evil.exe", "bad.dll"}));
    EXPECT_EQ(test::readWholeFile(quarantined("bad.dll")), "two");
    EXPECT_EQ(test::readWholeFile(quarantined("Evil.exe")), "three");
    EXPECT_EQ(test::readWholeFile(tmp / "scan/b/bad.TWK"), "two");
    EXPECT_EQ(test::readWholeFile(tmp / "scan/c/Evil.TWK"), "three");
    EXPECT_FALSE(present(dll));
    EXPECT_FALSE(present(evil));
    EXPECT_EQ(test::readWholeFile(keep), "one");

    EXPECT_EQ(window.lstadware.items(), (Texts{tmp / "scan/a/b.exe > Bee"}));
    ASSERT_EQ(window.foundItems().size(), 1u);
    EXPECT_EQ(window.foundItems()[0].path, keep);
    EXPECT_EQ(h.program.totalObjectsRemoved.value(), 2);
    EXPECT_FALSE(h.backend.busy);
    EXPECT_TRUE(window.cmdquarantine.enabled()) << "more entries may be moved later";

    // Stored at once: the main window reloads the total when it comes back.
    EXPECT_EQ(h.setting(Setting::TOTALOBJECTSREMOVED), "2");
    h.program.totalObjectsRemoved.load(h.program.settings);
    EXPECT_EQ(h.program.totalObjectsRemoved.value(), 2);
}

TEST_F(QuarantineOnDisk, TheSameNameInTwoFoldersLeavesTheLaterInQuarantineAndBothBackups) {
    tmp.writeFile("scan/x/twin.ocx", "first");
    tmp.writeFile("scan/y/twin.ocx", "second");
    scan();
    mark({0, 1});
    window.cmdquarantine.click();
    EXPECT_EQ(quarantineNames(), (Texts{"twin.ocx"}));
    EXPECT_EQ(test::readWholeFile(quarantined("twin.ocx")), "second");
    EXPECT_EQ(test::readWholeFile(tmp / "scan/x/twin.TWK"), "first");
    EXPECT_EQ(test::readWholeFile(tmp / "scan/y/twin.TWK"), "second");
    EXPECT_FALSE(present(tmp / "scan/x/twin.ocx"));
    EXPECT_FALSE(present(tmp / "scan/y/twin.ocx"));
    EXPECT_EQ(window.lstadware.count(), 0u);
}

TEST_F(QuarantineOnDisk, AFileGoneSinceTheScanStillCountsAndLeavesTheList) {
    const std::string file = tmp.writeFile("scan/b.exe");
    scan();
    fs::remove(file);
    mark({0});
    window.cmdquarantine.click();
    EXPECT_EQ(h.program.totalObjectsRemoved.value(), 1);
    EXPECT_EQ(window.lstadware.count(), 0u);
    EXPECT_TRUE(quarantineNames().empty());
    EXPECT_FALSE(present(tmp / "scan/b.TWK"));
}

TEST_F(QuarantineOnDisk, WithoutAQuarantineCopyTheFoundFileIsKept) {
    const std::string file = tmp.writeFile("scan/bad.dll", "payload");
    scan();
    fs::remove_all(tmp / "app/Quarantine");
    mark({0});
    window.cmdquarantine.click();
    EXPECT_EQ(test::readWholeFile(file), "payload");
    EXPECT_FALSE(present(tmp / "app/Quarantine")) << "the move never creates the folder";
    // The backup copy is independent of the quarantine copy.
    EXPECT_EQ(test::readWholeFile(tmp / "scan/bad.TWK"), "payload");
    EXPECT_EQ(h.program.totalObjectsRemoved.value(), 1);
    EXPECT_EQ(window.lstadware.count(), 0u);
}

TEST_F(QuarantineOnDisk, APathSwappedForALinkIsNeitherFollowedNorDeleted) {
    const std::string file = tmp.writeFile("scan/b.exe", "found");
    const std::string victim = tmp.writeFile("victim.txt", "precious");
    scan();
    fs::remove(file);
    fs::create_symlink(victim, file);
    mark({0});
    window.cmdquarantine.click();
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(test::readWholeFile(victim), "precious");
    EXPECT_TRUE(quarantineNames().empty());
    EXPECT_FALSE(present(tmp / "scan/b.TWK"));
    EXPECT_EQ(window.lstadware.count(), 0u);
}

TEST_F(QuarantineOnDisk, APathNowNamingAnotherFileIsLeftAlone) {
    const std::string file = tmp.writeFile("scan/b.exe", "found");
    scan();
    // Both files exist at once, so the newcomer cannot reuse the old identity.
    const std::string other = tmp.writeFile("scan/newcomer", "someone else's");
    fs::rename(other, file);
    mark({0});
    window.cmdquarantine.click();
    EXPECT_EQ(test::readWholeFile(file), "someone else's");
    EXPECT_TRUE(quarantineNames().empty());
    EXPECT_FALSE(present(tmp / "scan/b.TWK"));
}

TEST_F(QuarantineOnDisk, AFolderThatReadsLikeAnEntrySeparatorIsHandledByTheRealPath) {
    // Cut at its first ">", the entry below would name the plain file "a".
    const std::string decoy = tmp.writeFile("scan/a", "innocent");
    const std::string file = tmp.writeFile("scan/a > b/b.exe", "found");
    scan();
    ASSERT_EQ(window.lstadware.items(), (Texts{tmp / "scan/a > b/b.exe > Bee"}));
    mark({0});
    window.cmdquarantine.click();
    EXPECT_EQ(test::readWholeFile(decoy), "innocent");
    EXPECT_FALSE(present(file));
    EXPECT_EQ(test::readWholeFile(quarantined("b.exe")), "found");
    EXPECT_EQ(test::readWholeFile(tmp / "scan/a > b/b.TWK"), "found");
}

TEST_F(QuarantineOnDisk, ANameWithoutExtensionGetsABackupOfItsOwn) {
    tmp.writeFile("scan/noext", "bare");
    scan();
    mark({0});
    window.cmdquarantine.click();
    EXPECT_EQ(test::readWholeFile(quarantined("noext")), "bare");
    EXPECT_EQ(test::readWholeFile(tmp / "scan/noext.TWK"), "bare");
    EXPECT_FALSE(present(tmp / "scan/noext"));
}

TEST_F(QuarantineOnDisk, NothingMarkedOnlyRunsTheSweep) {
    const std::string file = tmp.writeFile("scan/b.exe", "found");
    scan();
    h.fake.processes.running = {{42, "/usr/lib/B.EXE"}};
    window.cmdquarantine.click();
    EXPECT_EQ(h.fake.processes.terminated, (std::vector<std::int64_t>{42}));
    EXPECT_EQ(window.lstadware.count(), 1u);
    EXPECT_EQ(test::readWholeFile(file), "found");
    EXPECT_TRUE(quarantineNames().empty());
    EXPECT_EQ(h.program.totalObjectsRemoved.value(), 0);
    EXPECT_FALSE(h.stored(Setting::TOTALOBJECTSREMOVED));
    EXPECT_FALSE(h.backend.busy);
}

TEST_F(QuarantineOnDisk, AReadOnlyFolderKeepsItsFileButTheQuarantineCopyIsMade) {
    if (geteuid() == 0) GTEST_SKIP() << "folder permissions do not stop root";
    const std::string file = tmp.writeFile("scan/ro/bad.dll", "payload");
    scan();
    ASSERT_EQ(chmod((tmp / "scan/ro").c_str(), 0555), 0);
    mark({0});
    window.cmdquarantine.click();
    EXPECT_EQ(test::readWholeFile(file), "payload");
    EXPECT_EQ(test::readWholeFile(quarantined("bad.dll")), "payload");
    EXPECT_FALSE(present(tmp / "scan/ro/bad.TWK"));
    EXPECT_EQ(h.program.totalObjectsRemoved.value(), 1);
}

// The sweep's terminations, with whether the found file was still in place.
class WatchingProcesses final : public platform::Processes {
public:
    explicit WatchingProcesses(std::string watched) : watched_(std::move(watched)) {}
    std::vector<platform::ProcessInfo> list() override { return {{7, "/usr/bin/b.exe"}}; }
    std::int64_t ownId() override { return 1; }
    bool terminate(std::int64_t) override {
        fileWasThere.push_back(present(watched_));
        return true;
    }
    std::vector<bool> fileWasThere;

private:
    std::string watched_;
};

TEST(QuarantineSweep, RunsBeforeAnyFileIsTouched) {
    test::TempFolder tmp;
    tmp.makeFolder("app/Quarantine");
    const std::string file = tmp.writeFile("scan/b.exe");
    posix::PosixFileSystem disk;
    WatchingProcesses processes(file);
    test::ScanTestHarness h(&disk, tmp / "app", &processes);
    frmscan window(h.program);
    test::scanInto(window, h.program, disk, tmp / "scan");
    window.lstadware.setSelected(0, true);
    window.cmdquarantine.click();
    EXPECT_EQ(processes.fileWasThere, (std::vector<bool>{true}));
    EXPECT_FALSE(present(file));
}

// Where the disk cannot be made to refuse, the fake file system does.
class QuarantineOnFake : public ::testing::Test {
protected:
    QuarantineOnFake() { files().addFolder("/opt/tarnwick/Quarantine"); }
    test::FakeFileSystem& files() { return h.fake.files; }
    void scanAndMarkAll(const std::string& folder) {
        test::scanInto(window, h.program, files(), folder);
        for (std::size_t i = 0; i < window.lstadware.count(); ++i)
            window.lstadware.setSelected(i, true);
    }

    test::ScanTestHarness h;
    frmscan window{h.program};
};

TEST_F(QuarantineOnFake, AReadOnlyFolderKeepsItsFileButTheQuarantineCopyIsMade) {
    files().addFile("/data/ro/bad.dll", "payload");
    files().readOnlyFolders.insert("/data/ro");
    scanAndMarkAll("/data");
    window.cmdquarantine.click();
    EXPECT_TRUE(files().exists("/data/ro/bad.dll"));
    EXPECT_EQ(files().readFile("/opt/tarnwick/Quarantine/bad.dll"), "payload");
    EXPECT_FALSE(files().exists("/data/ro/bad.TWK"));
    EXPECT_EQ(h.program.totalObjectsRemoved.value(), 1);
    EXPECT_EQ(window.lstadware.count(), 0u);
}

TEST_F(QuarantineOnFake, AFileInTheRootIsMovedLikeAnyOther) {
    files().addFile("/b.exe", "root");
    scanAndMarkAll("/");
    ASSERT_EQ(window.lstadware.items(), (Texts{"//b.exe > Bee"}));
    window.cmdquarantine.click();
    EXPECT_EQ(files().readFile("/opt/tarnwick/Quarantine/b.exe"), "root");
    EXPECT_EQ(files().readFile("/b.TWK"), "root");
    EXPECT_FALSE(files().exists("/b.exe"));
}

TEST(BackupName, ReplacesTheExtensionOrAddsOne) {
    EXPECT_EQ(backupName("bad.dll"), "bad.TWK");
    EXPECT_EQ(backupName("archive.tar.gz"), "archive.tar.TWK");
    EXPECT_EQ(backupName("trailing."), "trailing.TWK");
    EXPECT_EQ(backupName("noext"), "noext.TWK");
}

}  // namespace
}  // namespace tarnwk
