// The main window: its start, the Status tab through a scan, closing, the
// Quarantine and Settings tabs, the links, and the settings they rest on.
#include "mainwindow/frmmain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "NativeServices.h"
#include "scan/ReferenceFile.h"
#include "scan/frmscan.h"
#include "support/FakeProgram.h"
#include "support/TempFolder.h"

namespace tarnwk {
namespace {

using Texts = std::vector<std::string>;
const std::string kQuarantine = "/opt/tarnwick/Quarantine"_path;

class MainWindow : public ::testing::Test {
protected:
    MainWindow() {
        fake.files.addFile("/opt/tarnwick/ref.dat"_path,
                           "Ver1.007\r\ngator.exe|Gator\r\nspy.dll|Spy\r\n");
    }
    // What the start-up sequence does with the main window.
    void startUp() {
        main.Load();
        main.loadUserPrefs();
        main.loadReferenceFile();
        main.Show();
    }
    void leaveAndComeBack() {
        main.Hide();
        main.Show();
    }
    std::string stored(const char* key) {
        return fake.settings.getSetting("Tarnwick", "SETTINGS", key, "(absent)");
    }
    void addToQuarantine(std::initializer_list<const char*> names) {
        for (const char* name : names)
            fake.files.addFile(std::string(kQuarantine) + "/"_path + name);
    }
    std::vector<ui::CheckBox*> boxes() {
        return {&main.chkrunonstart, &main.chkscanonstart, &main.chkautoupdate, &main.chkuselog,
                &main.chkautoshow};
    }

    test::FakeProgram fake;
    frmmain main{fake.program};
};

TEST_F(MainWindow, FirstStartMakesTheFoldersAndShowsTheDefaults) {
    addToQuarantine({"kept.exe"});  // an existing folder keeps its files
    main.Load();
    EXPECT_TRUE(fake.files.folderExists("/opt/tarnwick/Reports"_path));
    EXPECT_EQ(main.caption(), "Tarnwick 1.1");
    EXPECT_EQ(main.lblappname.caption(), "Tarnwick 1.1");
    EXPECT_EQ(main.SSTab1.tab(), frmmain::kStatusTab);
    EXPECT_EQ(main.lblRefFilename.caption(), "Not Loaded");
    main.loadUserPrefs();
    main.loadReferenceFile();
    main.Show();
    const Texts status = {main.lblRefFilename.caption(),   main.lbladwarerefcnt.caption(),
                          main.lblStatus_System.caption(), main.lblStatus_Removed.caption(),
                          main.lblStatus_Total.caption(),  main.lblStatus_Quarintine.caption()};
    EXPECT_EQ(status, (Texts{"Ver1.007", "3 Adware types", "Never", "0", "0", "0"}));
    EXPECT_EQ(main.lblqcnt.caption(), "") << "counted with the first use of the tab strip";
    main.SSTab1.setTab(frmmain::kAboutTab);
    EXPECT_EQ(main.lblqcnt.caption(), "") << "a tab chosen by the program refreshes nothing";
    main.SSTab1.selectTab(frmmain::kQuarantineTab);
    EXPECT_EQ(main.lblqcnt.caption(), "1 Adware in Quarantine");
    EXPECT_EQ(main.lblStatus_Quarintine.caption(), "1");
    EXPECT_EQ(fake.files.filesIn(kQuarantine), Texts{"kept.exe"});
    EXPECT_TRUE(fake.ui.shown.empty());
    EXPECT_EQ(fake.program.mainWindow, &main);
}

TEST_F(MainWindow, StatusAfterAScanThatQuarantinedThreeFiles) {
    fake.files.addFile("/opt/tarnwick/ref.dat"_path,
                       "Ver1.007\r\ngator.exe|Gator\r\nspy.dll|Spy\r\npopup.exe|Popup\r\n");
    fake.store(Setting::TOTALOBJECTSREMOVED, "2");
    fake.store(Setting::SCANCOUNT, "5");
    fake.store(Setting::LASTRUN, "05/12/2026 09:00:00");
    for (const char* name : {"gator.exe", "notes.txt", "sub/spy.dll", "sub/deeper/popup.exe"})
        fake.files.addFile(fake.files.quickFolder + "/"_path + name);
    fake.files.drives = {"/data"_path};
    fake.files.addFolder("/data"_path);
    startUp();
    addToQuarantine({"old.exe"});
    main.SSTab1.selectTab(frmmain::kStatusTab);
    EXPECT_EQ(main.lblStatus_Removed.caption() + main.lblStatus_Total.caption() +
                  main.lblStatus_Quarintine.caption(),
              "251");
    EXPECT_EQ(main.lblStatus_System.caption(), "05/12/2026 09:00:00");

    EXPECT_TRUE(main.optfullscan.value()) << "a fresh window offers the full scan";
    main.optquickscan.click();
    main.cmdstartscan.click();
    EXPECT_FALSE(main.visible());
    const auto walked = [&](const std::string& folder) {
        return std::count(fake.files.foldersRead.begin(), fake.files.foldersRead.end(), folder);
    };
    EXPECT_EQ(walked("/data"_path), 0);
    frmscan* scan = main.scanRun().scanWindow();
    ASSERT_EQ(scan->lstadware.count(), 3u);
    for (std::size_t entry = 0; entry < 3; ++entry) scan->lstadware.setSelected(entry, true);
    scan->cmdquarantine.click();
    scan->cmdExit.click();

    // Back: the counter at once, the rest with the tab strip.
    ASSERT_TRUE(main.visible());
    EXPECT_EQ(main.lblStatus_Removed.caption() + main.lblStatus_Total.caption(), "55");
    main.SSTab1.selectTab(frmmain::kQuarantineTab);
    EXPECT_EQ(main.lblStatus_Total.caption(), "6");
    EXPECT_EQ(main.lblStatus_System.caption(), "06/12/2026 21:30:00");
    EXPECT_EQ(main.lblqcnt.caption(), "4 Adware in Quarantine");
    EXPECT_EQ(main.FileListQuarantine.items(),
              (Texts{"gator.exe", "old.exe", "popup.exe", "spy.dll"}));

    main.optfullscan.click();  // the full scan walks the drives
    main.cmdstartscan.click();
    EXPECT_EQ(walked("/data"_path), 1);
    EXPECT_EQ(stored("SCANCOUNT"), "7");
}

TEST_F(MainWindow, ClosingStoresTheCounterAndOnlyHides) {
    startUp();
    main.SSTab1.selectTab(frmmain::kSettingsTab);
    fake.program.totalObjectsRemoved.add(4);
    main.closeRequested();
    EXPECT_EQ(stored("TOTALOBJECTSREMOVED"), "4");
    EXPECT_TRUE(main.loaded());
    EXPECT_FALSE(main.visible());
    main.Show();
    EXPECT_EQ(main.SSTab1.tab(), frmmain::kSettingsTab);
    EXPECT_EQ(main.lblStatus_Removed.caption(), "4");
    EXPECT_EQ(fake.ui.peersCreated["frmmain"], 1);
}

TEST_F(MainWindow, QuarantineTabListsAndDeletesFilesForGood) {
    startUp();
    addToQuarantine({"e.exe", "B.dll", "a.exe", "d.ocx", "C.exe"});
    fake.files.addFolder(std::string(kQuarantine) + "/subfolder"_path);
    main.SSTab1.selectTab(frmmain::kQuarantineTab);
    EXPECT_EQ(main.FileListQuarantine.items(),
              (Texts{"a.exe", "B.dll", "C.exe", "d.ocx", "e.exe"}));
    main.FileListQuarantine.setSelected(1, true);
    main.FileListQuarantine.setSelected(3, true);
    main.cmdPurgeSelected.click();
    EXPECT_EQ(fake.files.filesIn(kQuarantine), (Texts{"C.exe", "a.exe", "e.exe"}));
    EXPECT_EQ(main.FileListQuarantine.items(), (Texts{"a.exe", "C.exe", "e.exe"}));
    EXPECT_EQ(main.lblqcnt.caption(), "5 Adware in Quarantine") << "the count waits";
    EXPECT_FALSE(fake.ui.busy);

    main.cmdselectAll.click();
    main.cmddeselect.click();
    main.cmdPurgeSelected.click();
    EXPECT_EQ(fake.files.filesIn(kQuarantine).size(), 3u);
    fake.files.readOnlyFolders.insert(kQuarantine);
    main.cmdselectAll.click();
    main.cmdPurgeSelected.click();
    EXPECT_EQ(main.FileListQuarantine.count(), 3u) << "what cannot be deleted stays listed";
    EXPECT_EQ(main.FileListQuarantine.selectedCount(), 0u);
    fake.files.readOnlyFolders.clear();
    addToQuarantine({"manual.bin"});
    leaveAndComeBack();
    main.cmdselectAll.click();
    EXPECT_EQ(main.FileListQuarantine.selectedCount(), 4u);
    main.cmdPurgeSelected.click();
    EXPECT_TRUE(fake.files.filesIn(kQuarantine).empty());
    EXPECT_EQ(main.lblStatus_Removed.caption(), "0") << "deleting never lowers the counter";
    EXPECT_TRUE(fake.ui.shown.empty());
}

TEST_F(MainWindow, SettingsTabFollowsTheStoreAndSavingAppliesStartAtLogin) {
    fake.startup.registered = true;
    fake.store(Setting::AUTOSCAN, "yes");  // not a number: the default
    startUp();
    std::string ticks;
    for (ui::CheckBox* box : boxes()) ticks += std::to_string(box->value());
    EXPECT_EQ(ticks, "00001");
    EXPECT_FALSE(fake.startup.registered) << "the registration follows the absent AUTORUN";

    for (ui::CheckBox* box : boxes())
        if (box->value() == 0) box->click();
    main.cmdSavePrefs.click();
    for (const char* key : {"AUTORUN", "AUTOSCAN", "AUTOUPDATE", "AUTOLOG", "AUTOSHOW"})
        EXPECT_EQ(stored(key), "1") << key;
    EXPECT_TRUE(fake.startup.registered);

    main.chkrunonstart.click();
    main.cmdSavePrefs.click();
    EXPECT_EQ(stored("AUTORUN"), "0");
    EXPECT_FALSE(fake.startup.registered);
    main.chkuselog.click();  // unsaved: lost at the next activation
    fake.store(Setting::AUTORUN, "1");
    leaveAndComeBack();
    EXPECT_TRUE(fake.startup.registered) << "each activation puts it back in line";
    EXPECT_EQ(main.chkuselog.value(), 1);
    EXPECT_EQ(main.chkrunonstart.value(), 1);
    EXPECT_TRUE(fake.ui.shown.empty());

    // A save that saved nothing says so, and the boxes show what is stored.
    fake.settings.failure = "the disk is full";
    main.chkuselog.click();
    main.cmdSavePrefs.click();
    ASSERT_EQ(fake.ui.shown.size(), 1u);
    EXPECT_EQ(fake.ui.shown[0].text, std::string(kSettingsNotSavedMessage) + "the disk is full");
    EXPECT_EQ(main.chkuselog.value(), 1);
}

TEST(Settings, DefaultsNumbersAndTheRemovedObjectsCounter) {
    test::FakeProgram fake;
    Settings& settings = fake.program.settings;
    EXPECT_EQ(settings.text(Setting::LASTRUN), "Never");
    EXPECT_TRUE(settings.isOn(Setting::AUTOSHOW));
    EXPECT_FALSE(settings.isOn(Setting::AUTOUPDATE));
    const std::tuple<const char*, bool, int> cases[] = {
        {"1", true, 1},     {"1.0", true, 1},  {" 1 ", true, 1},  {"0", false, 0},
        {"2", false, 2},    {"0.5", false, 0}, {"-1", false, -1}, {"yes", false, 0},
        {"", false, 0},     {"nan", false, 0}, {"inf", false, 0}, {"1e999", false, 0},
        {"99999", false, 0}};
    for (const auto& [text, on, box] : cases) {
        fake.store(Setting::AUTOUPDATE, text);
        EXPECT_EQ(settings.isOn(Setting::AUTOUPDATE), on) << text;
        EXPECT_EQ(settings.checkBoxState(Setting::AUTOUPDATE), box) << text;
    }

    RemovedObjectsCounter counter;
    for (const auto& [stored, loaded] : {std::pair{"41", 41}, {"-3", 0}, {"99999999999", 0}}) {
        fake.store(Setting::TOTALOBJECTSREMOVED, stored);
        counter.load(settings);
        EXPECT_EQ(counter.value(), loaded) << stored;
    }
    counter.add(5);
    counter.add(2147483647);
    EXPECT_EQ(counter.value(), 2147483647);
    EXPECT_TRUE(counter.save(settings));
    EXPECT_EQ(fake.settings.getSetting("tarnwick", "settings", "totalobjectsremoved", ""),
              "2147483647");
}

TEST_F(MainWindow, LinksUpdateButtonsAndTheAboutTab) {
    startUp();
    EXPECT_EQ(main.lblurl.caption(), "server.test");
    main.cmdhelp.click();
    main.lblurl.click();
    EXPECT_EQ(fake.shell.opened, (Texts{"http://server.test/tarnwickr/help.html",
                                        "http://server.test/products/twk/"}));
    main.cmdcheckforupdates.click();  // nothing attached: nothing happens
    int checks = 0;
    main.onCheckForUpdates = [&] { ++checks; };
    main.cmdcheckforupdates.click();
    main.CmdCheckForUpdates2.click();
    EXPECT_EQ(checks, 2);
    EXPECT_EQ(main.lblproginfo.caption().find("For Windows \u00a9 95, Windows \u00a9 98"), 0u);
    const std::string& address = main.lbladdress.caption();
    EXPECT_EQ(std::count(address.begin(), address.end(), '\n'), 2);
}

TEST_F(MainWindow, EveryControlFitsItsContainer) {
    for (const ui::Control* control : main.controls()) {
        const ui::Twips& at = control->position();
        const ui::Control* box = control->container();
        const int width = box ? box->position().width : main.clientWidth();
        const int height = box ? box->position().height : main.clientHeight();
        EXPECT_TRUE(at.left >= 0 && at.top >= 0 && at.left + at.width <= width &&
                    at.top + at.height <= height)
            << control->name();
        EXPECT_LT(control->tabPage(), box == &main.SSTab1 ? 6 : 0) << control->name();
    }
}

TEST(MainWindowOnDisk, AQuarantineFolderDeletedMeanwhileIsMadeAgainAtActivation) {
    test::TempFolder folder;
    test::NativeFileSystem disk;
    test::FakeProgram fake(&disk, folder.path());
    frmmain main(fake.program);
    main.Show();
    std::filesystem::remove_all(folder / "Quarantine");
    main.Hide();
    main.Show();
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Quarantine"));
}

}  // namespace
}  // namespace tarnwk
