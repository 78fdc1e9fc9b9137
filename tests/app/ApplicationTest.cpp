// The desktop program's windows on the fakes: the start-up sequence and the
// tray's Exit; the main window's tabs, links and closing; the settings
// beneath them.
#include <gtest/gtest.h>

#include <utility>

#include "app/Application.h"
#include "scan/frmscan.h"
#include "support/FakeProgram.h"

namespace tarnwk {
namespace {

using platform::MessageResult;
using Texts = std::vector<std::string>;
const std::string kQuarantine = "/opt/tarnwick/Quarantine"_path;

class Desktop : public ::testing::Test {
protected:
    Desktop() {
        fake.files.addFile("/opt/tarnwick/ref.dat"_path,
                           "Ver1.007\r\ngator.exe|Gator\r\nspy.dll|Spy\r\n");
        fake.files.addFolder("/home/user"_path);
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
    Application app{fake.program};
    frmmain& main = app.main;
};

// Whether AUTOSCAN is on is the settings' rule, tested with them.
TEST_F(Desktop, AutoscanStartsAFullScanAndTheTrayMenuEndsTheProgram) {
    fake.store(Setting::AUTOSHOW, "0");
    fake.store(Setting::AUTOSCAN, "1");
    fake.store(Setting::AUTOUPDATE, "1");
    main.optquickscan.setValue(true);
    bool splashAtCheck = true;
    app.tray.onStartupUpdateCheck = [&] { splashAtCheck = app.splash.loaded(); };
    // The splash's tick comes while the definitions load: it waits for them.
    bool ticked = false;
    fake.ui.onEveryDoEvents = [&] {
        if (!std::exchange(ticked, true)) fake.ui.advance(2000);
    };
    app.start();
    EXPECT_FALSE(splashAtCheck) << "the update check comes first";
    EXPECT_EQ(fake.setting(Setting::SCANCOUNT), "1");
    EXPECT_EQ(std::pair(main.optfullscan.value(), main.SSTab1.tab()),
              std::pair(true, frmmain::kScanTab));
    fake.ui.answers = {MessageResult::Cancel};
    fake.ui.menuAnswers = {0, 2};  // "Show Tarnwick", then "Exit"
    fake.ui.trayMessage(ui::TrayMessage::RightButtonUp);
    EXPECT_TRUE(main.visible());
    fake.ui.trayMessage(ui::TrayMessage::RightButtonUp);
    EXPECT_EQ(fake.ui.shown.back().buttons, platform::MessageButtons::OkCancel);
    EXPECT_TRUE(app.tray.loaded()) << "Cancel leaves the program as it was";
    fake.program.totalObjectsRemoved.add(3);
    fake.ui.answers = {MessageResult::Ok};
    EXPECT_THROW(app.tray.mnuexit_Click(), test::ProgramEnded);
    EXPECT_EQ(fake.setting(Setting::TOTALOBJECTSREMOVED), "3");
}

TEST_F(Desktop, FirstStartTheSettingsTheLinksClosingThatOnlyHidesThenAScanAndTheQuarantineTab) {
    fake.startup.registered = true;
    app.start();
    EXPECT_EQ(app.splash.lblaction.caption() + "|" + app.splash.lblversion.caption() + "|" +
                  main.caption() + "|" + main.lblRefFilename.caption() + "|" +
                  main.lbladwarerefcnt.caption() + "|" + main.lblurl.caption(),
              "Loading Reference file...|Version 1.1|Tarnwick 1.1|Ver1.007|3 Adware types|"
              "server.test");
    main.Hide();
    app.splash.Hide();
    app.splash.Show();  // activated again: nothing is loaded or shown twice
    EXPECT_FALSE(main.visible());
    fake.ui.advance(1999);
    EXPECT_TRUE(app.splash.loaded());
    fake.ui.advance(1);
    EXPECT_FALSE(app.splash.loaded()) << "the splash closes after two seconds";
    main.Show();
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
        EXPECT_EQ(fake.settings.getSetting("Tarnwick", "SETTINGS", key, ""), "1") << key;
    EXPECT_TRUE(shown().ends_with("|11111|1"));
    main.chkuselog.click();  // unsaved: lost at the next activation
    fake.startup.registered = false;
    main.Hide();
    main.Show();
    EXPECT_TRUE(shown().ends_with("|11111|1")) << "each activation puts it back in line";

    main.cmdhelp.click();
    main.lblurl.click();
    EXPECT_EQ(fake.shell.opened, (Texts{"http://server.test/tarnwickr/help.html",
                                        "http://server.test/products/twk/"}));

    fake.program.totalObjectsRemoved.add(4);
    main.closeRequested();
    EXPECT_EQ(fake.setting(Setting::TOTALOBJECTSREMOVED), "4");
    EXPECT_TRUE(main.loaded() && !main.visible());
    // A quarantine folder deleted meanwhile is made again at activation.
    fake.files.rename(kQuarantine, "/opt/tarnwick/gone"_path);
    main.Show();
    EXPECT_TRUE(fake.files.folderExists(kQuarantine) && main.lblStatus_Removed.caption() == "4");

    // A quick scan, then the Quarantine tab deletes files for good.
    main.optquickscan.click();
    main.cmdstartscan.click();
    EXPECT_EQ(fake.files.foldersRead.back(), fake.files.quickFolder) << "a quick scan";
    fake.program.totalObjectsRemoved.add(3);  // as a quarantine move of three files does
    addToQuarantine({"e.exe", "B.dll", "C.exe", "old.exe"});
    fake.files.addFolder(kQuarantine + "/subfolder"_path);
    main.scanRun().scanWindow()->cmdExit.click();
    // Back: the counter at once, the rest with the tab strip.
    EXPECT_EQ(shown(), "Never|7|0|1|1 Adware in Quarantine|11111|1");
    main.SSTab1.selectTab(frmmain::kQuarantineTab);
    EXPECT_EQ(shown(), "06/12/2026 21:30:00|7|1|4|4 Adware in Quarantine|11111|1");

    EXPECT_EQ(main.FileListQuarantine.items(), (Texts{"B.dll", "C.exe", "e.exe", "old.exe"}));
    for (const std::size_t row : {0, 2}) main.FileListQuarantine.setSelected(row, true);
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
    // Only a number that is 1 is on; the box shows any other whole number.
    const std::tuple<const char*, bool, int> cases[] = {
        {"1.0", true, 1},  {" 1 ", true, 1},  {"2", false, 2},    {"0.5", false, 0},
        {"-1", false, -1}, {"yes", false, 0}, {"nan", false, 0},  {"1e999", false, 0},
        {"1x", false, 0},  {"", false, 0},    {"99999", false, 0}};
    const Setting key = Setting::AUTOUPDATE;
    for (const auto& [text, on, box] : cases) {
        fake.store(key, text);
        EXPECT_EQ(std::pair(settings.isOn(key), settings.checkBoxState(key)), std::pair(on, box))
            << text;
    }

    RemovedObjectsCounter counter;
    for (const auto& [stored, loaded] : {std::pair{"-3", 0}, {"99999999999", 0}, {"41", 41}}) {
        fake.store(Setting::TOTALOBJECTSREMOVED, stored);
        counter.load(settings);
        EXPECT_EQ(counter.value(), loaded) << stored;
    }
    counter.add(2147483647);  // the counter stops at the largest 32-bit value
    EXPECT_TRUE(counter.save(settings));
    EXPECT_EQ(fake.settings.getSetting("tarnwick", "settings", "totalobjectsremoved", ""),
              "2147483647");
}

}  // namespace
}  // namespace tarnwk
