#pragma once

#include "platform/platform.h"
#include "platform/posix/CurlDownloader.h"
#include "platform/posix/IniSettingsStore.h"
#include "platform/posix/PosixClock.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixProcesses.h"
#include "platform/posix/XdgAutostart.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtUi.h"

namespace tarnwk::qt {

// The Linux services of the desktop program over the Qt backend, for the
// user whose session runs it. Needs a QApplication.
struct DesktopServices {
    explicit DesktopServices(std::string_view title);

    posix::PosixFileSystem files;
    posix::IniSettingsStore settings;
    posix::XdgAutostart startup;
    posix::PosixClock clock;
    posix::PosixProcesses processes;
    posix::CurlDownloader downloader;
    QtUi qtUi;
    QtShell shell;
    platform::Platform os{files, settings, startup, qtUi, clock, processes, shell};
};

}  // namespace tarnwk::qt
