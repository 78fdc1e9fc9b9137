// The desktop program on Windows: the Win32 services and UI backend under
// the program's own start-up.
#include "desktop/DesktopProgram.h"

#include "app/Main.h"
#include "common/AppIdentity.h"
#include "common/ServerAddress.h"
#include "platform/win32/RegistrySettingsStore.h"
#include "platform/win32/RunKeyStartup.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32Ui.h"
#include "platform/win32/Win32UiSingleInstance.h"
#include "platform/win32/WinHttpDownloader.h"

namespace tarnwk {

int runDesktopProgram(int, char**, std::function<void()> whenRunning) {
    // The hidden application window comes first: a later start finds this
    // instance by it, and it owns every window that follows.
    win32::Win32Ui backend{std::string(kAppTitle)};
    win32::Win32SingleInstance instance(backend.applicationWindow(), std::string(kAppTitle),
                                        mainWindowCaption());
    win32::Win32FileSystem files;
    win32::RegistrySettingsStore settings;
    win32::RunKeyStartup startup(std::string(kAppTitle), files.executablePath());
    win32::Win32Clock clock;
    win32::Win32Processes processes;
    win32::Win32Shell shell;
    win32::WinHttpDownloader downloader;
    platform::Platform os{files, settings, startup, backend, clock, processes, shell};
    ui::Ui ui(backend);
    const platform::ProgramFolders folders = files.programFolders();
    Program program(os, ui, folders.data, serverBaseAddress());
    program.bundledReferenceFile = folders.bundledDefinitions;
    program.downloader = &downloader;
    if (whenRunning) backend.whenRunning(std::move(whenRunning));
    return Main(program, instance);
}

}  // namespace tarnwk
