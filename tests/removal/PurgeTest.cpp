// The scan window's Purge: marked found files deleted for good after a
// confirmation, with no copies and no process ended.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/posix/PosixFileSystem.h"
#include "removal/PurgeMarked.h"
#include "removal/ScanTestHarness.h"
#include "scan/Peek.h"
#include "scan/frmscan.h"
#include "support/TempFolder.h"

namespace tarnwk {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

using test::present;

class PurgeOnDisk : public ::testing::Test {
protected:
    PurgeOnDisk() {
        tmp.makeFolder("app/Quarantine");
        tmp.writeFile("scan/1/b.exe", "one");
        tmp.writeFile("scan/2/bad.dll", "two");
        tmp.writeFile("scan/3/Evil.exe", "three");
        test::scanInto(window, h.program, disk, tmp / "scan");
        h.fake.processes.running = {{42, "/usr/bin/b.exe"}};
    }
    void mark(std::initializer_list<std::size_t> positions) {
        for (const std::size_t position : positions) window.lstadware.setSelected(position, true);
    }
    Texts quarantineNames() const {
        Texts names;
        for (const auto& entry : fs::directory_iterator(tmp / "app/Quarantine"))
            names.push_back(entry.path().filename().string());
        return names;
    }

    test::TempFolder tmp;
    posix::PosixFileSystem disk;
    test::ScanTestHarness h{&disk, tmp / "app"};
    frmscan window{h.program};
};

TEST_F(PurgeOnDisk, ConfirmedDeletesTheMarkedFilesForGood) {
    mark({0, 2});
    window.cmddelete.click();

    ASSERT_EQ(h.backend.shown.size(), 1u);
    EXPECT_EQ(h.backend.shown[0].text, kPurgeQuestion);
    EXPECT_EQ(h.backend.shown[0].buttons, platform::MessageButtons::YesNo);
    EXPECT_FALSE(present(tmp / "scan/1/b.exe"));
    EXPECT_FALSE(present(tmp / "scan/3/Evil.exe"));
    EXPECT_TRUE(present(tmp / "scan/2/bad.dll"));
    EXPECT_FALSE(present(tmp / "scan/1/b.TWK"));
    EXPECT_TRUE(quarantineNames().empty());
    EXPECT_TRUE(h.fake.processes.terminated.empty()) << "Purge ends no process";

    EXPECT_EQ(window.lstadware.items(), (Texts{tmp / "scan/2/bad.dll > Some.Adware|x"}));
    EXPECT_EQ(window.foundItems().size(), 1u);
    EXPECT_EQ(h.program.totalObjectsRemoved.value(), 2);
    EXPECT_EQ(h.setting(Setting::TOTALOBJECTSREMOVED), "2");
    EXPECT_FALSE(h.backend.busy);
}

TEST_F(PurgeOnDisk, DeclinedChangesNothing) {
    mark({0});
    h.backend.answers.push_back(platform::MessageResult::No);
    window.cmddelete.click();
    EXPECT_TRUE(present(tmp / "scan/1/b.exe"));
    EXPECT_EQ(window.lstadware.count(), 3u);
    EXPECT_TRUE(window.lstadware.selected(0));
    EXPECT_EQ(h.program.totalObjectsRemoved.value(), 0);
}

TEST_F(PurgeOnDisk, NothingMarkedAsksNothing) {
    window.cmddelete.click();
    EXPECT_TRUE(h.backend.shown.empty());
    EXPECT_EQ(window.lstadware.count(), 3u);
}

TEST_F(PurgeOnDisk, AnEntryWhoseFileIsNoLongerTheFoundOneLeavesUncounted) {
    const std::string victim = tmp.writeFile("victim.txt", "precious");
    fs::remove(tmp / "scan/1/b.exe");
    fs::create_symlink(victim, tmp / "scan/1/b.exe");
    fs::remove(tmp / "scan/2/bad.dll");
    mark({0, 1});
    window.cmddelete.click();
    EXPECT_TRUE(fs::is_symlink(tmp / "scan/1/b.exe"));
    EXPECT_EQ(test::readWholeFile(victim), "precious");
    EXPECT_EQ(window.lstadware.count(), 1u);
    EXPECT_EQ(h.program.totalObjectsRemoved.value(), 0);
    EXPECT_EQ(h.backend.shown.size(), 1u) << "only the question";
}

TEST(PurgeOnFake, AFileThatCannotBeDeletedStaysMarkedAndTheUserIsTold) {
    test::ScanTestHarness h;
    h.fake.files.addFile("/data/ro/b.exe");
    h.fake.files.addFile("/data/rw/b.exe");
    h.fake.files.readOnlyFolders.insert("/data/ro");
    frmscan window(h.program);
    test::scanInto(window, h.program, h.fake.files, "/data");
    window.lstadware.setSelected(0, true);
    window.lstadware.setSelected(1, true);
    window.cmddelete.click();

    EXPECT_TRUE(h.fake.files.exists("/data/ro/b.exe"));
    EXPECT_FALSE(h.fake.files.exists("/data/rw/b.exe"));
    EXPECT_EQ(window.lstadware.items(), (Texts{"/data/ro/b.exe > Bee"}));
    EXPECT_TRUE(window.lstadware.selected(0));
    EXPECT_EQ(h.program.totalObjectsRemoved.value(), 1);
    ASSERT_EQ(h.backend.shown.size(), 2u);
    EXPECT_EQ(h.backend.shown[1].text, kPurgeIncomplete);
    EXPECT_FALSE(h.backend.busy);
}

}  // namespace
}  // namespace tarnwk
