// The start-scan command: what it records and walks, the scan window through
// a run, Abort and Exit while the walk winds down; the log, its name from one
// reading of the clock, its content and code page.
#include "removal/ScanRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "removal/ScanHarness.h"
#include "scan/ScanLog.h"

namespace tarnwk {
namespace {

using Texts = std::vector<std::string>;
const std::string kReports = "/opt/tarnwick/Reports"_path;

// The scan window's caption and labels, then Abort, Exit, Quarantine and
// Purge as visible/enabled pairs: "Scanning...|/t|0 ...|No ...|VE -- V- V-".
std::string looks(const frmscan& w) {
    std::string text = w.caption() + "|" + w.Label3.caption() + "|" +
                       w.lblObjectsscannedcount.caption() + "|" + w.lblAdwareFoundCount.caption();
    for (const ui::Control* button : {&w.cmdabort, &w.cmdExit, &w.cmdquarantine, &w.cmddelete})
        text += std::string(button == &w.cmdabort ? "|" : " ") + (button->visible() ? "V" : "-") +
                (button->enabled() ? "E" : "-");
    return text;
}

class ScanRunTest : public ::testing::Test {
protected:
    ScanRunTest() { h.files.addFolder(kReports); }
    frmscan& window() { return *run.scanWindow(); }
    void addFiles(std::initializer_list<const char*> paths) {
        for (const char* path : paths) h.files.addFile(test::nativePath(path));
    }

    test::ScanHarness h;
    ScanRun run{h.program};
};

TEST_F(ScanRunTest, AQuickScanAFullScanAndAnAbortedOneThatStillCompletesAndLogs) {
    addFiles({"/home/user/b.exe", "/home/user/notes.txt", "/opt/tarnwick/Quarantine/b.exe"});
    h.files.setDevice("/home/user/usb"_path, 3);  // a quick scan crosses into mounts
    addFiles({"/home/user/usb/b.exe"});
    h.files.drives = {{"/"_path, true}};
    h.store(Setting::SCANCOUNT, "41");
    std::string walking;
    h.ui.onEveryDoEvents = [&] {
        if (h.ui.doEventsCount == 1)
            walking = looks(window()) + "|" + h.setting(Setting::LASTRUN) + "|" +
                      h.setting(Setting::SCANCOUNT) + "|" + std::to_string(h.ui.busy) +
                      std::to_string(run.walking()) + std::to_string(h.mainWindow.visible()) +
                      std::to_string(window().style().closeCommand);  // Exit is the only way out
        if (h.ui.doEventsCount == 2) run.cmdstartscan_Click(true);    // refused while walking
    };
    run.cmdstartscan_Click(false);
    EXPECT_EQ(walking,
              "Scanning...|Label3|0 Objects scanned|No Spyware / Adware found|VE -- V- V-"
              "|06/12/2026 21:30:00|42|1100");
    const Texts found{"/home/user/b.exe > Bee"_path, "/home/user/usb/b.exe > Bee"_path};
    EXPECT_EQ(window().lstadware.items(), found);
    EXPECT_EQ(looks(window()),
              "Scan Complete||3 Objects scanned|2 Spyware / Adware found|-- VE VE VE");
    EXPECT_FALSE(h.mainWindow.visible()) << "the main window waits for Exit";
    EXPECT_TRUE(h.files.filesIn(kReports).empty()) << "no log unless asked for";

    // A full scan walks every drive in order, each on its own volume, never
    // the quarantine; the window left open closes the usual way, storing the
    // total.
    h.ui.onEveryDoEvents = nullptr;
    h.files.drives = {{"/"_path, true}, {"/home/user/usb"_path, true}};
    h.program.totalObjectsRemoved.add(3);
    run.cmdstartscan_Click(true);
    EXPECT_EQ(window().lstadware.items(), found);
    EXPECT_EQ(h.setting(Setting::TOTALOBJECTSREMOVED), "3");
    h.files.quickFolder = "";  // no folder: nothing walked, not the current one
    h.files.foldersRead.clear();
    run.cmdstartscan_Click(false);
    EXPECT_TRUE(h.files.foldersRead.empty());

    // Abort skips the rest of the drives; the run still completes and logs.
    h.files.drives = {{"/c"_path, true}, {"/d"_path, true}};
    addFiles({"/c/b.exe", "/c/x1.txt", "/c/sub/b.exe", "/d/b.exe"});
    h.store(Setting::AUTOLOG, "1");
    frmscan* closed = nullptr;
    bool exitToo = false, started = false;
    h.ui.onEveryDoEvents = [&] {
        EXPECT_TRUE(!exitToo || std::exchange(started, true) || h.program.scan.scanReport.empty());
        if (h.program.scan.objectsScanned != 1 || h.program.scan.abortScan) return;
        window().cmdabort.click();
        if (exitToo) (closed = &window())->cmdExit.click();
    };
    run.cmdstartscan_Click(true);
    EXPECT_FALSE(std::ranges::count(h.files.foldersRead, "/d"_path));
    EXPECT_EQ(window().lstadware.items(), (Texts{"/c/b.exe > Bee"_path}));
    const Texts logs = h.files.filesIn(kReports);  // an aborted run is logged too
    ASSERT_EQ(logs.size(), 1u);
    EXPECT_NE(h.files.readFile(kReports + "/"_path + logs[0])->find("/c/b.exe"_path),
              std::string::npos);

    // The next run starts clean; Exit after Abort closes its window for good;
    // a log that cannot be written stops nothing.
    exitToo = true;
    h.files.readOnlyFolders.insert(kReports);
    h.clock.seconds += 1;
    run.cmdstartscan_Click(true);
    ASSERT_NE(closed, nullptr);
    EXPECT_EQ(run.scanWindow(), nullptr);
    EXPECT_EQ(h.ui.peersCreated["frmscan"], 5) << "the closed window was built again";
    EXPECT_EQ(closed->caption(), "Scanning...") << "the end steps touched the closed window";
    EXPECT_TRUE(h.mainWindow.visible());
    EXPECT_FALSE(run.walking() || h.ui.busy);
}

TEST(LogSecondsText, SevenSignificantDigitsOfAFloatWithoutExponentOrTrailingZeros) {
    // 68134.123 as a 32-bit float is 68134.125.
    const std::tuple<double, const char*, const char*> cases[] = {
        {68134.25, ",", "68134,25"},  {7.0, ",", "7"},           {0.0, ",", "0"},
        {12345.678, ".", "12345.68"}, {0.00001, ".", "0.00001"}, {68134.123, ".", "68134.12"},
        {1.5, "\u066B", "1\u066B5"}};
    for (const auto& [seconds, separator, text] : cases)
        EXPECT_EQ(logSecondsText(seconds, separator), text) << seconds;
}

TEST(ScanLog, NamedAfterTheDayAndSecondsWithFindingsThenTheRunInTheWindowsCodePage) {
    test::FakeProgram fake;
    const std::string reports = "/opt/tarnwick/Reports"_path;
    EXPECT_FALSE(WriteScanLog(fake.program, "")) << "the Reports folder is not created";
    fake.files.addFolder(reports);
    fake.clock.day = {2027, 1, 5};
    fake.clock.seconds = 68134.25;
    fake.clock.separator = ",";
    fake.clock.time = "18:55:34 \xE2\x80\x94 Mittag";  // an em dash from the locale
    ASSERT_TRUE(WriteScanLog(
        fake.program,
        "\r\nAdware found >/home/zo\xC3\xAB/b.exe\r\nAdware found >/\xE6\x97\xA5.exe"));
    fake.clock.separator = ".";
    ASSERT_TRUE(WriteScanLog(fake.program, ""));
    EXPECT_EQ(fake.files.readFile(reports + "/2027-1-568134,25.log"_path),
              "\r\nAdware found >/home/zo\xEB/b.exe\r\nAdware found >/?.exe\r\n"
              "Test Run : 06/12/2026 at 18:55:34 \x97 Mittag\r\n\r\n");
    EXPECT_EQ(fake.files.readFile(reports + "/2027-1-568134.25.log"_path),
              "NO Adware found...\r\n\r\nTest Run : 06/12/2026 at 18:55:34 \x97 Mittag\r\n\r\n");
}

}  // namespace
}  // namespace tarnwk
