#include "app/frmSplash.h"

#include "common/AppIdentity.h"
#include "common/MakerTexts.h"
#include "mainwindow/frmmain.h"

namespace tarnwk {

frmSplash::frmSplash(Program& program, frmmain& main)
    : ui::Form(program.ui, "frmSplash", "", 7380, 4245, {.closeCommand = false, .titleBar = false}),
      Picture1(*this, "Picture1", {-480, 360, 7935, 4215}, "splash"),
      lblversion(*this, "lblversion", {6000, 2160, 1815, 255}),
      lblgeneral(*this, "lblgeneral", {1560, 3120, 5055, 375}),
      lblaction(*this, "lblaction", {1560, 3480, 3615, 255}),
      Timer2(*this, "Timer2", 2000),
      program_(program),
      main_(main) {
    for (ui::Label* label : {&lblversion, &lblgeneral, &lblaction}) {
        label->placeIn(Picture1);
        label->whiteBackground = true;
    }
    lblversion.font.bold = true;
    lblgeneral.font.bold = true;
    Timer2.onTimer = [this] { Timer2_Timer(); };
}

void frmSplash::Form_Load() {
    lblversion.setCaption("Version " + std::to_string(kVersionMajor) + "." +
                          std::to_string(kVersionMinor));
    lblgeneral.setCaption(std::string(kMakerName));
}

void frmSplash::Form_Activate() {
    if (loadingDone_) return;
    lblaction.setCaption("Loading Reference file...");
    // Put the text on screen before the blocking work below.
    program_.ui.doEvents();
    main_.Load();
    main_.loadUserPrefs();
    main_.loadReferenceFile();
    if (main_.chkautoshow.value() == 1) main_.Show();
    loadingDone_ = true;
    // A tick that came while loading runs now, never before.
    if (tickWaiting_) Timer2_Timer();
}

void frmSplash::Timer2_Timer() {
    if (!loadingDone_) {
        tickWaiting_ = true;
        return;
    }
    Timer2.setEnabled(false);
    Unload();
    if (!program_.settings.isOn(Setting::AUTOSCAN)) return;
    main_.Show();
    main_.SSTab1.setTab(frmmain::kScanTab);
    main_.optfullscan.setValue(true);
    main_.cmdstartscan_Click();
}

}  // namespace tarnwk
