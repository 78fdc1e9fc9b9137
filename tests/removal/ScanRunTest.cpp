// The start-scan command over the fake platform: what it records, what it
// walks, the scan window's states through a run, Abort and Exit while the
// walk winds down, and the log.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "removal/ScanRun.h"
#include "removal/ScanTestHarness.h"
#include "scan/frmscan.h"

namespace tarnwk {
namespace {

using Texts = std::vector<std::string>;
constexpr const char* kReports = "/opt/tarnwick/Reports";

class ScanRunTest : public ::testing::Test {
protected:
    ScanRunTest() {
        files().addFolder(kReports);
        files().addFolder("/opt/tarnwick/Quarantine");
        files().addFolder(files().quickFolder);
    }

    test::FakeFileSystem& files() { return h.fake.files; }
    frmscan& window() { return *run.scanWindow(); }

    // Runs `action` at every "do events" of the coming runs.
    void atEveryDoEvents(std::function<void()> action, int upTo = 2000) {
        auto shared = std::make_shared<std::function<void()>>(std::move(action));
        for (int i = h.backend.doEventsCount + 1; i <= upTo; ++i)
            h.backend.atDoEvents(i, [shared] { (*shared)(); });
    }

    // Abort, Exit, Quarantine, Purge as visible/enabled pairs.
    static std::string buttonStates(const frmscan& w) {
        std::string states;
        for (const ui::Control* button :
             {&w.cmdabort, &w.cmdExit, &w.cmdquarantine, &w.cmddelete}) {
            states += button->visible() ? 'V' : '-';
            states += button->enabled() ? 'E' : '-';
            states += ' ';
        }
        states.pop_back();
        return states;
    }

    bool folderRead(const std::string& path) {
        const auto& read = files().foldersRead;
        return std::find(read.begin(), read.end(), path) != read.end();
    }

    test::ScanTestHarness h;
    ScanRun run{h.program};
};

TEST_F(ScanRunTest, WindowStatesThroughARunThatFindsNothing) {
    files().addFile("/home/user/readme.txt");
    bool seen = false;
    h.backend.atDoEvents(1, [&] {
        seen = true;
        frmscan& w = window();
        EXPECT_TRUE(run.walking());
        EXPECT_EQ(buttonStates(w), "VE -- V- V-");
        EXPECT_EQ(w.caption(), "Scanning...");
        EXPECT_TRUE(w.visible());
        EXPECT_FALSE(h.mainWindow.visible());
        EXPECT_TRUE(h.backend.busy);
        // Before the first file is examined.
        EXPECT_EQ(w.Label3.caption(), "Label3");
        EXPECT_EQ(w.lblAdwareFoundCount.caption(), "No Spyware / Adware found");
        EXPECT_EQ(w.lblObjectsscannedcount.caption(), "0 Objects scanned");
    });
    run.cmdstartscan_Click(false);
    ASSERT_TRUE(seen);

    frmscan& w = window();
    EXPECT_FALSE(run.walking());
    EXPECT_EQ(buttonStates(w), "-- VE VE VE");
    EXPECT_EQ(w.caption(), "Scan Complete");
    EXPECT_EQ(w.Label3.caption(), "");
    EXPECT_EQ(w.lblAdwareFoundCount.caption(), "0 Spyware / Adware found");
    EXPECT_EQ(w.lblObjectsscannedcount.caption(), "1 Objects scanned");
    EXPECT_FALSE(h.backend.busy);
    EXPECT_FALSE(h.mainWindow.visible()) << "the main window waits for Exit";
    EXPECT_TRUE(h.backend.shown.empty()) << "a run ends without a message";
}

TEST_F(ScanRunTest, LabelsFollowTheWalkAndEntriesKeepTheirFiles) {
    files().addFile("/home/user/b.exe");
    files().addFile("/home/user/notes.txt");
    files().addFile("/home/user/sub/EVIL.EXE");
    Texts folders;
    atEveryDoEvents([&] {
        if (!run.scanWindow()) return;
        const std::string& shown = window().Label3.caption();
        if (folders.empty() || folders.back() != shown) folders.push_back(shown);
    });
    run.cmdstartscan_Click(false);

    EXPECT_EQ(folders, (Texts{"Label3", "/home/user", "/home/user/sub"}));
    frmscan& w = window();
    EXPECT_EQ(w.lstadware.items(),
              (Texts{"/home/user/b.exe > Bee", "/home/user/sub/Evil.exe > Evil"}));
    EXPECT_EQ(w.lblObjectsscannedcount.caption(), "3 Objects scanned");
    EXPECT_EQ(w.lblAdwareFoundCount.caption(), "2 Spyware / Adware found");
    ASSERT_EQ(w.foundItems().size(), 2u);
    EXPECT_EQ(w.foundItems()[1].path, "/home/user/sub/EVIL.EXE");
    EXPECT_EQ(w.foundItems()[1].name, "Evil.exe");
    EXPECT_EQ(w.foundItems()[1].fileId, files().fileId("/home/user/sub/EVIL.EXE"));
    EXPECT_EQ(h.program.scan.scanReport,
              "\r\nAdware found >/home/user/b.exe\r\nAdware found >/home/user/sub/Evil.exe");
}

TEST_F(ScanRunTest, FullScanWalksEveryDriveInOrderEachOnItsOwnFileSystem) {
    files().drives = {"/", "/mnt/data"};
    files().addFile("/b.exe");
    files().addFile("/usr/b.exe");
    files().setDevice("/mnt/data", 2);
    files().addFile("/mnt/data/b.exe");
    // Quarantined files are examined but never reported again.
    files().addFile("/opt/tarnwick/Quarantine/b.exe");
    run.cmdstartscan_Click(true);

    EXPECT_EQ(window().lstadware.items(),
              (Texts{"//b.exe > Bee", "/usr/b.exe > Bee", "/mnt/data/b.exe > Bee"}));
    EXPECT_EQ(h.program.scan.objectsScanned, 4);
}

TEST_F(ScanRunTest, FullScanWithOneDriveWalksIt) {
    files().drives = {"/only"};
    files().addFile("/only/b.exe");
    run.cmdstartscan_Click(true);
    EXPECT_EQ(window().lstadware.items(), (Texts{"/only/b.exe > Bee"}));
    EXPECT_EQ(window().caption(), "Scan Complete");
}

TEST_F(ScanRunTest, QuickScanWalksTheQuickFolderOnceAndCrossesIntoMounts) {
    files().drives = {"/"};
    files().setDevice("/home/user/usb", 3);
    files().addFile("/home/user/usb/b.exe");
    run.cmdstartscan_Click(false);
    EXPECT_EQ(files().foldersRead.front(), "/home/user");
    EXPECT_FALSE(folderRead("/"));
    EXPECT_EQ(window().lstadware.items(), (Texts{"/home/user/usb/b.exe > Bee"}));
}

TEST_F(ScanRunTest, NoQuickFolderMeansNothingIsWalked) {
    files().quickFolder = "";
    run.cmdstartscan_Click(false);
    EXPECT_TRUE(files().foldersRead.empty());
    EXPECT_EQ(buttonStates(window()), "-- VE VE VE");
}

TEST_F(ScanRunTest, RecordsTheRunBeforeWalking) {
    h.backend.atDoEvents(1, [&] {
        EXPECT_EQ(h.setting(Setting::LASTRUN), "06/12/2026 21:30:00");
        EXPECT_EQ(h.setting(Setting::SCANCOUNT), "1");
    });
    run.cmdstartscan_Click(false);

    h.program.settings.save(Setting::SCANCOUNT, "41");
    run.cmdstartscan_Click(false);
    EXPECT_EQ(h.setting(Setting::SCANCOUNT), "42");

    // A count edited into nonsense starts again from 0.
    h.program.settings.save(Setting::SCANCOUNT, "many");
    run.cmdstartscan_Click(false);
    EXPECT_EQ(h.setting(Setting::SCANCOUNT), "1");
}

TEST_F(ScanRunTest, TheLogIsWrittenOnlyWhenAutologIsOne) {
    const std::vector<std::pair<std::optional<std::string>, bool>> cases{
        {std::nullopt, false}, {"0", false}, {"2", false},
        {"yes", false},        {"1", true},  {" 1.0 ", true}};
    for (const auto& [value, written] : cases) {
        SCOPED_TRACE(value.value_or("(absent)"));
        h.fake.settings.values.clear();
        if (value) h.program.settings.save(Setting::AUTOLOG, *value);
        h.fake.clock.seconds += 1;  // a new name for each log
        const auto before = files().filesIn(kReports).size();
        run.cmdstartscan_Click(false);
        EXPECT_EQ(files().filesIn(kReports).size(), before + (written ? 1 : 0));
    }
}

TEST_F(ScanRunTest, ALogThatCannotBeWrittenDoesNotStopTheRun) {
    h.program.settings.save(Setting::AUTOLOG, "1");
    files().readOnlyFolders.insert(kReports);
    run.cmdstartscan_Click(false);
    EXPECT_TRUE(files().filesIn(kReports).empty());
    EXPECT_EQ(buttonStates(window()), "-- VE VE VE");
    EXPECT_FALSE(h.backend.busy);
}

TEST_F(ScanRunTest, AbortDuringTheFirstDriveSkipsTheRestAndStillCompletes) {
    files().drives = {"/c", "/d"};
    for (const char* path : {"/c/b.exe", "/c/x1.txt", "/c/x2.txt", "/c/sub/b.exe", "/d/b.exe"})
        files().addFile(path);
    h.program.settings.save(Setting::AUTOLOG, "1");
    atEveryDoEvents([&] {
        if (h.program.scan.objectsScanned != 1 || h.program.scan.abortScan) return;
        window().cmdabort.click();
        // Exit replaces Abort at once; Quarantine waits for the run's end.
        EXPECT_EQ(buttonStates(window()), "-- VE V- V-");
    });
    run.cmdstartscan_Click(true);

    EXPECT_FALSE(folderRead("/d"));
    EXPECT_FALSE(folderRead("/c/sub"));
    EXPECT_EQ(h.program.scan.objectsScanned, 1);
    EXPECT_EQ(window().lstadware.items(), (Texts{"/c/b.exe > Bee"}));
    EXPECT_EQ(h.setting(Setting::LASTRUN), "06/12/2026 21:30:00");
    EXPECT_EQ(h.setting(Setting::SCANCOUNT), "1");
    const Texts logs = files().filesIn(kReports);
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_NE(
        files().readFile(std::string(kReports) + "/" + logs[0])->find("Adware found >/c/b.exe"),
        std::string::npos);
    EXPECT_EQ(buttonStates(window()), "-- VE VE VE");
    EXPECT_EQ(window().caption(), "Scan Complete");
    EXPECT_TRUE(h.program.scan.abortScan) << "the flag stays set until the next window loads";
}

TEST_F(ScanRunTest, ExitAfterAbortStopsTheWalkAndLeavesTheClosedWindowClosed) {
    files().drives = {"/c", "/d"};
    for (const char* path : {"/c/a.txt", "/c/b.txt", "/c/sub/b.exe", "/d/b.exe"})
        files().addFile(path);
    h.program.settings.save(Setting::AUTOLOG, "1");
    frmscan* closed = nullptr;
    atEveryDoEvents([&] {
        if (closed || h.program.scan.objectsScanned != 1) return;
        closed = &window();
        closed->cmdabort.click();
        closed->cmdExit.click();
    });
    run.cmdstartscan_Click(true);

    ASSERT_NE(closed, nullptr);
    EXPECT_EQ(files().foldersRead, (Texts{"/c"}));
    EXPECT_EQ(h.backend.peersCreated["frmscan"], 1) << "the closed window was built again";
    EXPECT_EQ(run.scanWindow(), nullptr);
    EXPECT_FALSE(closed->loaded());
    EXPECT_FALSE(closed->visible());
    EXPECT_EQ(closed->caption(), "Scanning...") << "the end steps touched the closed window";
    EXPECT_TRUE(h.program.scan.abortScan);
    EXPECT_TRUE(h.mainWindow.visible());
    EXPECT_FALSE(h.backend.busy);
    EXPECT_FALSE(run.walking());
    EXPECT_EQ(h.setting(Setting::TOTALOBJECTSREMOVED), "0");
    // The aborted scan is still logged.
    EXPECT_EQ(files().filesIn(kReports).size(), 1u);
}

TEST_F(ScanRunTest, ASecondRunAfterExitStartsClean) {
    files().addFile("/home/user/b.exe");
    files().addFile("/home/user/c.txt");
    bool aborted = false;
    atEveryDoEvents([&] {
        if (aborted || h.program.scan.objectsScanned != 1) return;
        aborted = true;
        window().cmdabort.click();
    });
    run.cmdstartscan_Click(false);
    ASSERT_EQ(window().lstadware.count(), 1u);
    ASSERT_TRUE(h.program.scan.abortScan);
    window().cmdExit.click();
    ASSERT_TRUE(h.mainWindow.visible());

    files().quickFolder = "/elsewhere";
    files().addFolder("/elsewhere");
    bool checked = false;
    atEveryDoEvents([&] {
        if (checked) return;
        checked = true;
        frmscan& w = window();
        EXPECT_EQ(w.lstadware.count(), 0u);
        EXPECT_TRUE(w.foundItems().empty());
        EXPECT_EQ(w.lblObjectsscannedcount.caption(), "0 Objects scanned");
        EXPECT_EQ(w.lblAdwareFoundCount.caption(), "No Spyware / Adware found");
        EXPECT_EQ(w.caption(), "Scanning...");
        EXPECT_EQ(h.program.scan.objectsScanned, 0);
        EXPECT_FALSE(h.program.scan.abortScan);
        EXPECT_EQ(h.program.scan.scanReport, "");
    });
    run.cmdstartscan_Click(false);
    EXPECT_TRUE(checked);
    EXPECT_EQ(h.backend.peersCreated["frmscan"], 2);
    EXPECT_EQ(window().caption(), "Scan Complete");
}

TEST_F(ScanRunTest, AStartWhileWalkingIsRefused) {
    files().addFile("/home/user/a.txt");
    files().addFile("/home/user/b.exe");
    frmscan* first = nullptr;
    h.backend.atDoEvents(3, [&] {
        first = &window();
        run.cmdstartscan_Click(true);
        EXPECT_EQ(run.scanWindow(), first);
    });
    run.cmdstartscan_Click(false);
    EXPECT_EQ(run.scanWindow(), first);
    EXPECT_EQ(h.backend.peersCreated["frmscan"], 1);
    EXPECT_EQ(h.setting(Setting::SCANCOUNT), "1");
    EXPECT_EQ(window().lstadware.items(), (Texts{"/home/user/b.exe > Bee"}));
    EXPECT_EQ(window().caption(), "Scan Complete");
}

TEST_F(ScanRunTest, AWindowLeftOpenIsClosedTheUsualWayByTheNextRun) {
    run.cmdstartscan_Click(false);
    h.program.totalObjectsRemoved.add(3);
    // The main window came back through the tray; Scan Now again.
    h.mainWindow.Show();
    run.cmdstartscan_Click(false);
    EXPECT_EQ(h.setting(Setting::TOTALOBJECTSREMOVED), "3");
    EXPECT_EQ(h.backend.peersCreated["frmscan"], 2);
    EXPECT_EQ(window().caption(), "Scan Complete");
}

}  // namespace
}  // namespace tarnwk
