#pragma once

#include "app/frmSplash.h"
#include "app/frmtray.h"
#include "common/Program.h"
#include "mainwindow/frmmain.h"

namespace tarnwk {

// The windows of a first instance, wired together.
class Application {
public:
    explicit Application(Program& program);

    // Tray window (icon, start-up update check), then the splash, whose
    // activation loads the main window, the preferences and the definitions.
    void start();
    // A later start asked this instance to come forward.
    void bringForward();

    frmmain main;
    frmtray tray;
    frmSplash splash;

private:
    Program& program_;
};

}  // namespace tarnwk
