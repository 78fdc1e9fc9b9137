// The main window: its start, the Settings tab, the links and closing; the
// Status tab through a scan and the Quarantine tab; the settings beneath.
#include "mainwindow/frmmain.h"

#include <gtest/gtest.h>

#include "scan/frmscan.h"
#include "support/FakeProgram.h"

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
    std::string stored(const char* key) {
        return fake.settings.getSetting("Tarnwick", "SETTINGS", key, "(absent)");
    }
    void addToQuarantine(std::initializer_list<const char*> names) {
        for (const char* name : names) fake.files.addFile(kQuarantine + "/"_path + name);
    }
    // The Status tab's labels, the Settings tab's boxes and whether the
    // program starts at login.
    std::string shown() {
        std::string text;
        for (const ui::Label* label :
             {&main.lblStatus_System, &main.lblStatus_Removed, &main.lblStatus_Total,
              &main.lblStatus_Quarintine, &main.lblqcnt})
            text += label->caption() + "|";
        for (const ui::CheckBox* box : {&main.chkrunonstart, &main.chkscanonstart,
                                        &main.chkautoupdate, &main.chkuselog, &main.chkautoshow})
            text += std::to_string(box->value());
        return text + "|" + std::to_string(fake.startup.registered);
    }

    test::FakeProgram fake;
    frmmain main{fake.program};
};

TEST_F(MainWindow, FirstStartTheSettingsTabTheLinksAndClosingThatOnlyHides) {
    fake.startup.registered = true;
    startUp();
    EXPECT_EQ(main.caption() + "|" + main.lblRefFilename.caption() + "|" +
                  main.lbladwarerefcnt.caption() + "|" + main.lblurl.caption(),
              "Tarnwick 1.1|Ver1.007|3 Adware types|server.test");
    // The counts wait for the first use of the tab strip; a tab chosen by the
    // program refreshes nothing.
    addToQuarantine({"kept.exe"});
    main.SSTab1.setTab(frmmain::kAboutTab);
    EXPECT_EQ(shown(), "Never|0|0|0||00001|0") << "the registration follows AUTORUN";
    main.SSTab1.selectTab(frmmain::kSettingsTab);
    EXPECT_EQ(shown(), "Never|0|0|1|1 Adware in Quarantine|00001|0");

    for (ui::CheckBox* box :
         {&main.chkrunonstart, &main.chkscanonstart, &main.chkautoupdate, &main.chkuselog})
        box->click();
    main.cmdSavePrefs.click();
    for (const char* key : {"AUTORUN", "AUTOSCAN", "AUTOUPDATE", "AUTOLOG", "AUTOSHOW"})
        EXPECT_EQ(stored(key), "1") << key;
    EXPECT_TRUE(shown().ends_with("|11111|1"));
    main.chkrunonstart.click();
    main.cmdSavePrefs.click();
    EXPECT_EQ(stored("AUTORUN"), "0");
    EXPECT_TRUE(shown().ends_with("|01111|0"));
    main.chkuselog.click();  // unsaved: lost at the next activation
    fake.store(Setting::AUTORUN, "1");
    main.Hide();
    main.Show();
    EXPECT_TRUE(shown().ends_with("|11111|1")) << "each activation puts it back in line";
    // A save that saved nothing says so, and the boxes show what is stored.
    fake.settings.failure = "the disk is full";
    main.chkuselog.click();
    main.cmdSavePrefs.click();
    ASSERT_EQ(fake.ui.shown.size(), 1u);
    EXPECT_EQ(fake.ui.shown[0].text, std::string(kSettingsNotSavedMessage) + "the disk is full");
    EXPECT_EQ(main.chkuselog.value(), 1);

    main.cmdhelp.click();
    main.lblurl.click();
    main.cmdcheckforupdates.click();  // nothing attached: nothing happens
    EXPECT_EQ(fake.shell.opened, (Texts{"http://server.test/tarnwickr/help.html",
                                        "http://server.test/products/twk/"}));

    fake.settings.failure.clear();
    fake.program.totalObjectsRemoved.add(4);
    main.closeRequested();
    EXPECT_EQ(stored("TOTALOBJECTSREMOVED"), "4");
    EXPECT_TRUE(main.loaded() && !main.visible());
    // A quarantine folder deleted meanwhile is made again at activation.
    fake.files.rename(kQuarantine, "/opt/tarnwick/gone"_path);
    main.Show();
    EXPECT_TRUE(fake.files.folderExists(kQuarantine));
    EXPECT_EQ(main.lblStatus_Removed.caption(), "4");
}

TEST_F(MainWindow, StatusAfterAScanThenTheQuarantineTabDeletesFilesForGood) {
    fake.store(Setting::TOTALOBJECTSREMOVED, "2");
    fake.store(Setting::SCANCOUNT, "5");
    fake.store(Setting::LASTRUN, "05/12/2026 09:00:00");
    fake.files.addFolder(fake.files.quickFolder);
    startUp();
    addToQuarantine({"old.exe"});
    main.SSTab1.selectTab(frmmain::kStatusTab);
    EXPECT_EQ(shown(), "05/12/2026 09:00:00|2|5|1|1 Adware in Quarantine|00001|0");
    main.optquickscan.click();
    main.cmdstartscan.click();
    EXPECT_FALSE(main.visible());
    EXPECT_EQ(fake.files.foldersRead.back(), fake.files.quickFolder) << "a quick scan";
    fake.program.totalObjectsRemoved.add(3);  // as a quarantine move of three files does
    addToQuarantine({"e.exe", "B.dll", "C.exe"});
    fake.files.addFolder(kQuarantine + "/subfolder"_path);
    main.scanRun().scanWindow()->cmdExit.click();
    // Back: the counter at once, the rest with the tab strip.
    ASSERT_TRUE(main.visible());
    EXPECT_EQ(shown(), "05/12/2026 09:00:00|5|5|1|1 Adware in Quarantine|00001|0");
    main.SSTab1.selectTab(frmmain::kQuarantineTab);
    EXPECT_EQ(shown(), "06/12/2026 21:30:00|5|6|4|4 Adware in Quarantine|00001|0");

    EXPECT_EQ(main.FileListQuarantine.items(), (Texts{"B.dll", "C.exe", "e.exe", "old.exe"}));
    main.FileListQuarantine.setSelected(0, true);
    main.FileListQuarantine.setSelected(2, true);
    main.cmdPurgeSelected.click();
    EXPECT_EQ(main.FileListQuarantine.items(), (Texts{"C.exe", "old.exe"}));
    // Nothing selected, then a folder that refuses: every file stays listed.
    main.cmdselectAll.click();
    main.cmddeselect.click();
    main.cmdPurgeSelected.click();
    fake.files.readOnlyFolders.insert(kQuarantine);
    main.cmdselectAll.click();
    main.cmdPurgeSelected.click();
    EXPECT_EQ(main.FileListQuarantine.count(), 2u);
    fake.files.readOnlyFolders.clear();
    addToQuarantine({"manual.bin"});
    main.Hide();
    main.Show();
    main.cmdselectAll.click();
    EXPECT_EQ(main.FileListQuarantine.selectedCount(), 3u);
    main.cmdPurgeSelected.click();
    EXPECT_TRUE(fake.files.filesIn(kQuarantine).empty());
}

TEST(Settings, DefaultsNumbersAndTheRemovedObjectsCounter) {
    test::FakeProgram fake;
    Settings& settings = fake.program.settings;
    // Only a number that is 1 is on; the box shows any other whole number.
    const std::tuple<const char*, bool, int> cases[] = {
        {"1", true, 1},      {"1.0", true, 1},  {" 1 ", true, 1},  {"0", false, 0},
        {"2", false, 2},     {"0.5", false, 0}, {"-1", false, -1}, {"yes", false, 0},
        {"", false, 0},      {"nan", false, 0}, {"inf", false, 0}, {"1e999", false, 0},
        {"99999", false, 0}, {"1x", false, 0}};
    for (const auto& [text, on, box] : cases) {
        fake.store(Setting::AUTOUPDATE, text);
        EXPECT_EQ(std::pair(settings.isOn(Setting::AUTOUPDATE),
                            settings.checkBoxState(Setting::AUTOUPDATE)),
                  std::pair(on, box))
            << text;
    }

    RemovedObjectsCounter counter;
    for (const auto& [stored, loaded] : {std::pair{"41", 41}, {"-3", 0}, {"99999999999", 0}}) {
        fake.store(Setting::TOTALOBJECTSREMOVED, stored);
        counter.load(settings);
        EXPECT_EQ(counter.value(), loaded) << stored;
    }
    counter.add(5);
    counter.add(2147483647);  // the counter stops at the largest 32-bit value
    EXPECT_TRUE(counter.save(settings));
    EXPECT_EQ(fake.settings.getSetting("tarnwick", "settings", "totalobjectsremoved", ""),
              "2147483647");
}

}  // namespace
}  // namespace tarnwk
