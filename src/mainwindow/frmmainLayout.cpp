#include <initializer_list>

#include "mainwindow/frmmain.h"

namespace tarnwk {

void frmmain::arrangeControls() {
    const auto onTab = [this](int page, std::initializer_list<ui::Control*> controls) {
        for (ui::Control* control : controls) control->placeOnTab(SSTab1, page);
    };
    const auto inFrame = [](ui::Frame& frame, std::initializer_list<ui::Control*> controls) {
        for (ui::Control* control : controls) control->placeIn(frame);
    };

    onTab(kStatusTab, {&Frame1});
    inFrame(Frame1, {&Label1, &lblRefFilename, &Label10, &lbladwarerefcnt, &Label3,
                     &lblStatus_System, &Label5, &lblStatus_Removed, &Label7, &lblStatus_Total,
                     &Label11, &lblStatus_Quarintine});
    Frame1.font.bold = true;
    for (ui::Label* value : {&lblRefFilename, &lbladwarerefcnt, &lblStatus_System,
                             &lblStatus_Removed, &lblStatus_Total, &lblStatus_Quarintine})
        value->font.bold = true;

    onTab(kScanTab, {&Frame2, &cmdstartscan});
    inFrame(Frame2, {&optfullscan, &optquickscan});
    Frame2.font.bold = true;
    optfullscan.setValue(true);

    onTab(kQuarantineTab,
          {&FileListQuarantine, &lblqcnt, &cmdselectAll, &cmddeselect, &cmdPurgeSelected});
    FileListQuarantine.toolTip =
        "Click CTRL while selecting files, if you wish to select individual files.";

    onTab(kUpdatesTab, {&Frame3});
    inFrame(Frame3, {&Label4, &cmdcheckforupdates});

    onTab(kSettingsTab, {&Frame4, &cmdSavePrefs});
    inFrame(Frame4, {&chkrunonstart, &chkscanonstart, &chkautoupdate, &chkuselog, &chkautoshow});

    onTab(kAboutTab, {&Picture2, &lblappname, &lblproginfo, &cmdhelp, &CmdCheckForUpdates2,
                      &lbladdress, &lblurl, &Line1, &lblwarning});
    lblappname.font = {.bold = true, .points = 11.25, .family = "Arial"};
    lblurl.link = true;
}

void frmmain::wireHandlers() {
    SSTab1.onTabSelected = [this] { refreshStatus(); };
    cmdstartscan.onClick = [this] { cmdstartscan_Click(); };
    cmdselectAll.onClick = [this] { cmdselectAll_Click(); };
    cmddeselect.onClick = [this] { cmddeselect_Click(); };
    cmdPurgeSelected.onClick = [this] { cmdPurgeSelected_Click(); };
    cmdcheckforupdates.onClick = [this] { checkForUpdates(); };
    CmdCheckForUpdates2.onClick = [this] { checkForUpdates(); };
    cmdSavePrefs.onClick = [this] { cmdSavePrefs_Click(); };
    cmdhelp.onClick = [this] { cmdhelp_Click(); };
    lblurl.onClick = [this] { lblurl_Click(); };
}

}  // namespace tarnwk
