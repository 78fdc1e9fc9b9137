#include <algorithm>
#include <filesystem>

#include "mainwindow/MainWindowFixture.h"
#include "platform/posix/PosixFileSystem.h"
#include "scan/ReferenceFile.h"
#include "scan/frmscan.h"
#include "support/TempFolder.h"

namespace tarnwk::test {
namespace {

using MainWindowStart = MainWindowFixture;

TEST_F(MainWindowStart, FirstStartCreatesTheFoldersAndShowsTheDefaults) {
    main.Load();
    EXPECT_TRUE(fake.files.folderExists(kQuarantine));
    EXPECT_TRUE(fake.files.folderExists(kReports));
    EXPECT_EQ(main.caption(), "Tarnwick 1.1");
    EXPECT_EQ(main.lblappname.caption(), "Tarnwick 1.1");
    EXPECT_EQ(main.SSTab1.tab(), frmmain::kStatusTab);
    // Nothing is loaded yet.
    EXPECT_EQ(main.lblRefFilename.caption(), "Not Loaded");
    EXPECT_EQ(main.lbladwarerefcnt.caption(), "Not Loaded");

    main.loadUserPrefs();
    main.loadReferenceFile();
    main.Show();
    EXPECT_EQ(main.lblRefFilename.caption(), "Ver1.007");
    EXPECT_EQ(main.lbladwarerefcnt.caption(), "3 Adware types");
    EXPECT_EQ(main.lblStatus_System.caption(), "Never");
    EXPECT_EQ(main.lblStatus_Removed.caption(), "0");
    EXPECT_EQ(main.lblStatus_Total.caption(), "0");
    EXPECT_EQ(main.lblStatus_Quarintine.caption(), "0");
    // The quarantine count appears with the first use of the tab strip.
    EXPECT_EQ(main.lblqcnt.caption(), "");
    main.SSTab1.selectTab(frmmain::kQuarantineTab);
    EXPECT_EQ(main.lblqcnt.caption(), "0 Adware in Quarantine");
    EXPECT_EQ(main.lblStatus_System.caption(), "Never");
    EXPECT_EQ(main.lblStatus_Total.caption(), "0");
    EXPECT_TRUE(fakeUi.shown.empty());
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(MainWindowStart, SecondStartLeavesBothFoldersAndTheirContentsAlone) {
    startUp();
    fake.files.addFile(std::string(kQuarantine) + "/gator.exe", "kept");
    fake.files.addFile(std::string(kReports) + "/scan.log", "report");

    FakeUi secondUi;
    ui::Ui second{secondUi};
    Program again{services, second, kAppFolder, "http://server.test"};
    frmmain secondMain(again);
    secondMain.Load();
    EXPECT_EQ(fake.files.filesIn(kQuarantine), std::vector<std::string>{"gator.exe"});
    EXPECT_EQ(fake.files.readFile(std::string(kQuarantine) + "/gator.exe"), "kept");
    EXPECT_EQ(fake.files.readFile(std::string(kReports) + "/scan.log"), "report");
}

TEST_F(MainWindowStart, AHeaderOnlyReferenceFileCountsOne) {
    fake.files.addFile(std::string(kAppFolder) + "/ref.dat", "Ver2\r\n");
    startUp();
    EXPECT_EQ(main.lbladwarerefcnt.caption(), "1 Adware types");
    EXPECT_EQ(main.lblRefFilename.caption(), "Ver2");
}

TEST_F(MainWindowStart, AMissingReferenceFileEndsTheProgramWithTheMessage) {
    FakePlatform empty;
    platform::Platform emptyServices = empty.platform();
    Program bare{emptyServices, ui, kAppFolder, "http://server.test"};
    frmmain bareMain(bare);
    bareMain.Load();
    try {
        bareMain.loadReferenceFile();
        FAIL() << "the program went on";
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.exitCode, kReferenceFileMissingExitCode);
    }
    ASSERT_EQ(fakeUi.shown.size(), 1u);
    EXPECT_EQ(fakeUi.shown[0].text, kReferenceFileMissingMessage);
}

TEST_F(MainWindowStart, TheMainWindowIsTheProgramsMainWindow) {
    EXPECT_EQ(program.mainWindow, &main);
    {
        frmmain other(program);
        EXPECT_EQ(program.mainWindow, &other);
    }
    EXPECT_EQ(program.mainWindow, nullptr);
}

TEST(MainWindowOnDisk, AQuarantineFolderDeletedMeanwhileIsMadeAgainAtActivation) {
    TempFolder folder;
    folder.writeFile("ref.dat", "Ver1\r\n");
    posix::PosixFileSystem disk;
    FakePlatform fake;
    FakeUi fakeUi;
    ui::Ui ui{fakeUi};
    platform::Platform services{disk,       fake.settings,  fake.startup, fake.messages,
                                fake.clock, fake.processes, fake.shell};
    Program program{services, ui, folder.path(), "http://server.test"};
    frmmain main(program);
    main.Load();
    main.Show();
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Reports"));
    std::filesystem::remove_all(folder / "Quarantine");

    main.Hide();
    main.Show();
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Quarantine"));
    EXPECT_EQ(main.FileListQuarantine.count(), 0u);
}

using MainWindowClose = MainWindowFixture;

TEST_F(MainWindowClose, ACloseRequestStoresTheCounterAndOnlyHides) {
    startUp();
    main.SSTab1.selectTab(frmmain::kSettingsTab);
    program.totalObjectsRemoved.add(4);
    main.closeRequested();
    EXPECT_EQ(stored("TOTALOBJECTSREMOVED"), "4");
    EXPECT_TRUE(main.loaded());
    EXPECT_FALSE(main.visible());

    // Shown again from the tray: the tab last selected, the stored counter.
    main.Show();
    EXPECT_EQ(main.SSTab1.tab(), frmmain::kSettingsTab);
    EXPECT_EQ(main.lblStatus_Removed.caption(), "4");
    EXPECT_EQ(fakeUi.peersCreated["frmmain"], 1);
}

using MainWindowStatus = MainWindowFixture;

TEST_F(MainWindowStatus, AfterAScanThatQuarantinedThreeFiles) {
    fake.files.addFile(std::string(kAppFolder) + "/ref.dat",
                       "Ver1.007\r\ngator.exe|Gator\r\nspy.dll|Spy\r\npopup.exe|Popup\r\n");
    fake.settings.saveSetting("Tarnwick", "SETTINGS", "TOTALOBJECTSREMOVED", "2");
    fake.settings.saveSetting("Tarnwick", "SETTINGS", "SCANCOUNT", "5");
    fake.settings.saveSetting("Tarnwick", "SETTINGS", "LASTRUN", "05/12/2026 09:00:00");
    for (const char* name : {"gator.exe", "notes.txt", "sub/spy.dll", "sub/deeper/popup.exe"})
        fake.files.addFile(fake.files.quickFolder + "/" + name);
    startUp();
    fake.files.addFile(std::string(kQuarantine) + "/old.exe");
    main.SSTab1.selectTab(frmmain::kStatusTab);
    EXPECT_EQ(main.lblStatus_Removed.caption(), "2");
    EXPECT_EQ(main.lblStatus_Total.caption(), "5");
    EXPECT_EQ(main.lblStatus_Quarintine.caption(), "1");

    main.optquickscan.click();
    main.cmdstartscan.click();
    EXPECT_FALSE(main.visible());
    frmscan* scan = main.scanRun().scanWindow();
    ASSERT_NE(scan, nullptr);
    ASSERT_EQ(scan->lstadware.count(), 3u);
    for (std::size_t entry = 0; entry < 3; ++entry) scan->lstadware.setSelected(entry, true);
    scan->cmdquarantine.click();
    scan->cmdExit.click();

    // Back on the main window: the counter at once, the rest with the tab strip.
    ASSERT_TRUE(main.visible());
    EXPECT_EQ(main.lblStatus_Removed.caption(), "5");
    EXPECT_EQ(main.lblStatus_Total.caption(), "5");
    EXPECT_EQ(main.lblStatus_Quarintine.caption(), "1");
    main.SSTab1.selectTab(frmmain::kQuarantineTab);
    EXPECT_EQ(main.lblStatus_Total.caption(), "6");
    EXPECT_EQ(main.lblStatus_System.caption(), "06/12/2026 21:30:00");
    EXPECT_EQ(main.lblStatus_Quarintine.caption(), "4");
    EXPECT_EQ(main.lblqcnt.caption(), "4 Adware in Quarantine");
    EXPECT_EQ(main.FileListQuarantine.items(),
              (std::vector<std::string>{"gator.exe", "old.exe", "popup.exe", "spy.dll"}));
}

TEST_F(MainWindowStatus, SelectingATabFromCodeDoesNotRefresh) {
    startUp();
    main.SSTab1.setTab(frmmain::kAboutTab);
    EXPECT_EQ(main.lblqcnt.caption(), "");
}

using MainWindowScan = MainWindowFixture;

TEST_F(MainWindowScan, ScanNowWalksWhatTheScanTabChose) {
    fake.files.drives = {"/data"};
    fake.files.addFolder("/data");
    fake.files.addFolder(fake.files.quickFolder);
    startUp();
    // A fresh window offers the full scan.
    EXPECT_TRUE(main.optfullscan.value());
    main.cmdstartscan.click();
    EXPECT_NE(std::find(fake.files.foldersRead.begin(), fake.files.foldersRead.end(), "/data"),
              fake.files.foldersRead.end());
    main.scanRun().scanWindow()->cmdExit.click();

    fake.files.foldersRead.clear();
    main.optquickscan.click();
    EXPECT_FALSE(main.optfullscan.value());
    main.cmdstartscan.click();
    EXPECT_NE(std::find(fake.files.foldersRead.begin(), fake.files.foldersRead.end(),
                        fake.files.quickFolder),
              fake.files.foldersRead.end());
    EXPECT_EQ(std::find(fake.files.foldersRead.begin(), fake.files.foldersRead.end(), "/data"),
              fake.files.foldersRead.end());
    EXPECT_EQ(stored("SCANCOUNT"), "2");
}

using MainWindowLinks = MainWindowFixture;

TEST_F(MainWindowLinks, HelpAndProductPagesOpenOnTheMakersServer) {
    startUp();
    EXPECT_EQ(main.lblurl.caption(), "server.test");
    main.cmdhelp.click();
    main.lblurl.click();
    EXPECT_EQ(fake.shell.opened, (std::vector<std::string>{"http://server.test/tarnwickr/help.html",
                                                           "http://server.test/products/twk/"}));
}

TEST_F(MainWindowLinks, BothUpdateButtonsRunTheUpdateCheck) {
    startUp();
    // Without an update check attached the buttons do nothing.
    main.cmdcheckforupdates.click();
    int checks = 0;
    main.onCheckForUpdates = [&] { ++checks; };
    main.cmdcheckforupdates.click();
    main.CmdCheckForUpdates2.click();
    EXPECT_EQ(checks, 2);
}

TEST_F(MainWindowLinks, TheAboutTabNamesTheMaker) {
    startUp();
    EXPECT_EQ(main.lblproginfo.caption().find(
                  "For Windows \u00a9 95, Windows \u00a9 98, Windows \u00a9 NT, Windows \u00a9 XP\n"
                  "Windows \u00a9 2000\n\n"),
              0u);
    EXPECT_NE(main.lblproginfo.caption().find("2026"), std::string::npos);
    EXPECT_EQ(std::count(main.lbladdress.caption().begin(), main.lbladdress.caption().end(), '\n'),
              2);
    EXPECT_FALSE(main.lblwarning.caption().empty());
}

// Every control lies inside its container, so nothing is cut off on screen.
TEST(MainWindowLayout, EveryControlFitsItsContainer) {
    FakePlatform fake;
    FakeUi fakeUi;
    ui::Ui ui{fakeUi};
    platform::Platform services = fake.platform();
    Program program{services, ui, "/opt/tarnwick", "http://server.test"};
    frmmain main(program);
    for (const ui::Control* control : main.controls()) {
        const ui::Twips& at = control->position();
        int width = main.clientWidth(), height = main.clientHeight();
        if (const ui::Control* container = control->container()) {
            width = container->position().width;
            height = container->position().height;
        }
        EXPECT_GE(at.left, 0) << control->name();
        EXPECT_GE(at.top, 0) << control->name();
        EXPECT_LE(at.left + at.width, width) << control->name();
        EXPECT_LE(at.top + at.height, height) << control->name();
        if (control->container() == &main.SSTab1) {
            EXPECT_LT(control->tabPage(), static_cast<int>(main.SSTab1.tabs().size()))
                << control->name();
        }
    }
}

}  // namespace
}  // namespace tarnwk::test
