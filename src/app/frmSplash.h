#pragma once

#include "common/Program.h"
#include "platform/ui.h"

namespace tarnwk {

class frmmain;

// The splash window: on screen for at least two seconds and until the
// definitions are loaded, it drives the start-up: main window, preferences,
// definitions, then the automatic scan when asked for.
class frmSplash final : public ui::Form {
public:
    frmSplash(Program& program, frmmain& main);

    ui::PictureBox Picture1;
    ui::Label lblversion;
    ui::Label lblgeneral;
    ui::Label lblaction;
    ui::Timer Timer2;

    void Timer2_Timer();

protected:
    void Form_Load() override;
    void Form_Activate() override;

private:
    Program& program_;
    frmmain& main_;
    bool loadingDone_ = false;
    bool tickWaiting_ = false;
};

}  // namespace tarnwk
