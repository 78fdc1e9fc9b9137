// The desktop program on Linux: the posix services and the Qt backend under
// the program's own start-up.
#include "desktop/DesktopProgram.h"

#include "app/Main.h"
#include "common/AppIdentity.h"
#include "common/ServerAddress.h"
#include "platform/qt/DesktopServices.h"
#include "platform/qt/QtSession.h"
#include "platform/qt/QtSingleInstance.h"

namespace tarnwk {

int runDesktopProgram(int argc, char** argv, std::function<void()> whenRunning) {
    // TARNWK_APP_ID comes from the build configuration: the installed
    // desktop entry's name.
    qt::QtSession session(argc, argv, kAppTitle, TARNWK_APP_ID);
    qt::DesktopServices services(kAppTitle);
    qt::QtSingleInstance instance;
    ui::Ui ui(services.qtUi);
    const platform::ProgramFolders folders = services.files.programFolders();
    Program program(services.os, ui, folders.data, serverBaseAddress());
    program.bundledReferenceFile = folders.bundledDefinitions;
    program.downloader = &services.downloader;
    session.whenRunning(std::move(whenRunning));
    return Main(program, instance);
}

}  // namespace tarnwk
