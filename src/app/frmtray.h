#pragma once

#include <functional>

#include "common/Program.h"
#include "platform/ui.h"

namespace tarnwk {

class frmmain;

// The hidden tray window: the notification-area icon and its menu, the
// start-up update check, and the one orderly way to end the program.
class frmtray final : public ui::Form {
public:
    frmtray(Program& program, frmmain& main);

    void HandleTrayMessage(ui::TrayMessage message);
    void mnushow_Click();
    void mnuabout_Click();
    void mnuexit_Click();

    // The update check, run at load when automatic updates are on.
    std::function<void()> onStartupUpdateCheck;
    // False on a desktop without a notification area.
    bool trayIconShown() const { return trayIconShown_; }

protected:
    void Form_Load() override;

private:
    Program& program_;
    frmmain& main_;
    bool trayIconShown_ = false;
    bool ending_ = false;
};

inline constexpr std::string_view kEndApplicationQuestion = "Do you wish to end the application?";

}  // namespace tarnwk
