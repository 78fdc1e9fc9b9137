#include "app/frmtray.h"

#include "common/AppIdentity.h"
#include "mainwindow/frmmain.h"

namespace tarnwk {

frmtray::frmtray(Program& program, frmmain& main)
    : ui::Form(program.ui, "frmtray", std::string(kAppTitle), 0, 0),
      program_(program),
      main_(main) {}

void frmtray::Form_Load() {
    trayIconShown_ = program_.ui.backend().addTrayIcon(
        kAppTitle, [this](ui::TrayMessage message) { HandleTrayMessage(message); });
    if (program_.settings.isOn(Setting::AUTOUPDATE) && onStartupUpdateCheck) onStartupUpdateCheck();
}

void frmtray::HandleTrayMessage(ui::TrayMessage message) {
    switch (message) {
        case ui::TrayMessage::LeftButtonDown:
        case ui::TrayMessage::RightButtonUp: {
            const int chosen = program_.ui.backend().popupMenu({"Show Tarnwick", "About", "Exit"});
            if (chosen == 0) mnushow_Click();
            if (chosen == 1) mnuabout_Click();
            if (chosen == 2) mnuexit_Click();
            break;
        }
        case ui::TrayMessage::LeftDoubleClick:
            main_.Show();
            break;
    }
}

void frmtray::mnushow_Click() {
    main_.Show();
}

void frmtray::mnuabout_Click() {
    main_.Show();
    main_.SSTab1.setTab(frmmain::kAboutTab);
}

void frmtray::mnuexit_Click() {
    if (ending_) return;
    if (program_.ui.messageBox(kEndApplicationQuestion, platform::MessageButtons::OkCancel) !=
        platform::MessageResult::Ok)
        return;
    ending_ = true;
    // The main window's close handler stores the counter and only hides it.
    main_.Unload();
    Unload();
    program_.ui.backend().endProgram(0);
}

}  // namespace tarnwk
