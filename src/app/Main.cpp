#include "app/Main.h"

#include "app/Application.h"

namespace tarnwk {

int Main(Program& program, platform::SingleInstance& instance) {
    if (!instance.claim()) {
        // Another instance runs: it comes forward; this one touches nothing.
        // One that cannot be reached is ending itself: nothing to do then.
        (void)instance.activateRunning();
        return 0;
    }
    Application application(program);
    instance.onActivateRequest = [&application] { application.bringForward(); };
    application.start();
    return program.ui.backend().run();
}

}  // namespace tarnwk
