#include "app/Application.h"

#include "update/CheckForUpdates.h"

namespace tarnwk {

Application::Application(Program& program)
    : main(program), tray(program, main), splash(program, main), program_(program) {
    tray.onStartupUpdateCheck = [this] { CheckForUpdates(program_, 0); };
    main.onCheckForUpdates = [this] { CheckForUpdates(program_, 1); };
}

void Application::start() {
    tray.Load();
    // Without a notification area the tray menu cannot be reached: closing
    // the main window asks to end the program instead of hiding it, and a
    // second start of the program shows the window again.
    if (!tray.trayIconShown()) main.onCloseWithoutTray = [this] { tray.mnuexit_Click(); };
    splash.Load();
    splash.Show();
}

void Application::bringForward() {
    if (main.loaded())
        main.Show();
    else if (splash.loaded())
        splash.Show();
}

}  // namespace tarnwk
