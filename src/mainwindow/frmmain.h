#pragma once

#include <array>
#include <functional>
#include <string>
#include <utility>

#include "common/Program.h"
#include "common/SettingsKeys.h"
#include "platform/ui.h"
#include "removal/ScanRun.h"

namespace tarnwk {

inline constexpr std::string_view kSettingsNotSavedMessage = "The settings could not be saved: ";

// The main window: a tabbed dialog with the tabs Status, Scan, Quarantine,
// Updates, Settings and About. Loaded once at start-up, then only shown and
// hidden: a close request hides it, and the program lives on in the tray.
class frmmain : public ui::Form {
public:
    static constexpr int kStatusTab = 0, kScanTab = 1, kQuarantineTab = 2, kUpdatesTab = 3,
                         kSettingsTab = 4, kAboutTab = 5;

    explicit frmmain(Program& program);
    ~frmmain() override;

    // Fills the five preference boxes from the store and makes the login
    // registration follow "AUTORUN".
    void loadUserPrefs();
    void cmdSavePrefs_Click();
    // Loads the reference file into the definitions list; a missing file ends
    // the program with a message.
    void loadReferenceFile();
    void cmdstartscan_Click();
    // The counts, last scan and total scans, brought up to date whenever the
    // user selects a tab.
    void refreshStatus();
    void cmdselectAll_Click();
    void cmddeselect_Click();
    void cmdPurgeSelected_Click();
    void cmdhelp_Click();
    void lblurl_Click();
    // Opens a document or web address with the user's default program; a
    // failure goes unreported.
    void ShellOpen(const std::string& address);

    ScanRun& scanRun() { return scanRun_; }

    // Run by both update buttons; the update check plugs in here.
    std::function<void()> onCheckForUpdates;
    // On a desktop without a notification area a hidden main window could not
    // be brought back: there, closing it is handed here (ask to end) instead.
    std::function<void()> onCloseWithoutTray;

    // Controls, in painting order. Positions on a tab page are relative to
    // SSTab1, inside a frame relative to the frame.
    ui::PictureBox Picture1{*this, "Picture1", {0, 0, 7215, 1575}, "banner"};
    ui::TabControl SSTab1{*this,
                          "SSTab1",
                          {120, 1680, 7095, 4335},
                          {"Status", "Scan", "Quarantine", "Updates", "Settings", "About"}};
    ui::StatusBar StatusBar1{*this, "StatusBar1", {0, 6180, 7335, 255}};

    // Status tab.
    ui::Frame Frame1{*this, "Frame1", {240, 480, 6495, 3615}, "Program Status"};
    ui::Label Label1{*this, "Label1", {360, 960, 2775, 195}, "Reference File:"};
    ui::Label lblRefFilename{*this, "lblRefFilename", {3240, 960, 3015, 195}, "Not Loaded"};
    ui::Label Label10{*this, "Label10", {360, 1320, 2775, 195}, "Protection against:"};
    ui::Label lbladwarerefcnt{*this, "lbladwarerefcnt", {3240, 1320, 3015, 195}, "Not Loaded"};
    ui::Label Label3{*this, "Label3", {360, 1680, 2775, 195}, "Last System scan:"};
    ui::Label lblStatus_System{*this, "lblStatus_System", {3240, 1680, 3015, 195}, "Never"};
    ui::Label Label5{*this, "Label5", {360, 2040, 2775, 195}, "Total objects removed:"};
    ui::Label lblStatus_Removed{*this, "lblStatus_Removed", {3240, 2040, 3015, 195}, "0"};
    ui::Label Label7{*this, "Label7", {360, 2400, 2775, 195}, "Total scans:"};
    ui::Label lblStatus_Total{*this, "lblStatus_Total", {3240, 2400, 3015, 195}, "0"};
    ui::Label Label11{*this, "Label11", {360, 2760, 2775, 195}, "Objects in quarantine:"};
    ui::Label lblStatus_Quarintine{*this, "lblStatus_Quarintine", {3240, 2760, 3015, 195}, "0"};

    // Scan tab.
    ui::Frame Frame2{*this, "Frame2", {840, 1080, 4575, 2295}, "Choose Scan Mode"};
    ui::OptionButton optfullscan{*this, "optfullscan", {720, 600, 3015, 255}, "Full System Scan"};
    ui::OptionButton optquickscan{*this, "optquickscan", {720, 1080, 3015, 255}, "Quick Scan"};
    ui::Button cmdstartscan{*this, "cmdstartscan", {5040, 3720, 1215, 375}, "&Scan Now"};

    // Quarantine tab.
    ui::ListBox FileListQuarantine{
        *this, "FileListQuarantine", {240, 600, 6615, 2955}, ui::SelectionMode::Extended};
    ui::Label lblqcnt{*this, "lblqcnt", {240, 3840, 2175, 255}};
    ui::Button cmdselectAll{*this, "cmdselectAll", {2760, 3720, 1335, 375}, "&Select All"};
    ui::Button cmddeselect{*this, "cmddeselect", {4200, 3720, 1335, 375}, "D&e-Select All"};
    ui::Button cmdPurgeSelected{
        *this, "cmdPurgeSelected", {5640, 3720, 1335, 375}, "&Delete Selected"};

    // Updates tab.
    ui::Frame Frame3{*this, "Frame3", {600, 1200, 5895, 2295}, "Check for updates"};
    ui::Label Label4{*this,
                     "Label4",
                     {240, 600, 3015, 1335},
                     "Press the button to check if new adware definitions have been released. If "
                     "new definitions are found the software will download the definitions "
                     "automatically and prompt you once completed."};
    ui::Button cmdcheckforupdates{
        *this, "cmdcheckforupdates", {3600, 960, 1575, 375}, "&Check Now"};

    // Settings tab.
    ui::Frame Frame4{*this, "Frame4", {840, 720, 5295, 2895}, "Select your preferences"};
    ui::CheckBox chkrunonstart{
        *this, "chkrunonstart", {360, 480, 4575, 255}, "Start along with Windows"};
    ui::CheckBox chkscanonstart{
        *this, "chkscanonstart", {360, 960, 4575, 255}, "Run adware scan on startup"};
    ui::CheckBox chkautoupdate{
        *this, "chkautoupdate", {360, 1440, 4575, 255}, "Check for updates automatically"};
    ui::CheckBox chkuselog{
        *this, "chkuselog", {360, 1920, 4575, 255}, "Save scan results to log file"};
    ui::CheckBox chkautoshow{
        *this, "chkautoshow", {360, 2400, 4575, 255}, "Show main window on startup"};
    ui::Button cmdSavePrefs{*this, "cmdSavePrefs", {5520, 3720, 1215, 375}, "&Save Settings"};

    // About tab.
    ui::PictureBox Picture2{*this, "Picture2", {120, 480, 1335, 3735}, "about"};
    ui::Label lblappname{*this, "lblappname", {1560, 480, 5295, 255}};
    ui::Label lblproginfo{*this, "lblproginfo", {1560, 840, 5175, 975}};
    ui::Button cmdhelp{*this, "cmdhelp", {5280, 1560, 1695, 375}, "&Help"};
    ui::Button CmdCheckForUpdates2{
        *this, "CmdCheckForUpdates2", {5280, 2040, 1695, 375}, "&Check for updates..."};
    ui::Label lbladdress{*this, "lbladdress", {1560, 2160, 2415, 615}};
    ui::Label lblurl{*this, "lblurl", {1560, 2760, 2175, 255}};
    ui::Line Line1{*this, "Line1", 1560, 3120, 6840, 3120};
    ui::Label lblwarning{*this, "lblwarning", {1560, 3240, 5415, 855}};

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(bool& cancel) override;

private:
    // Puts every control on its tab page or frame and sets fonts and handlers.
    void arrangeControls();
    void wireHandlers();
    // The five check boxes with their keys, in saving order.
    std::array<std::pair<ui::CheckBox*, Setting>, 5> preferenceBoxes();
    // Reads the quarantine folder into FileListQuarantine; selections are lost.
    void readQuarantineList();
    // Header and size of the definitions list on the Status tab.
    void showDefinitions();
    void checkForUpdates();

    Program& program_;
    ScanRun scanRun_{program_};
};

}  // namespace tarnwk
