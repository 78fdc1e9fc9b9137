// The desktop program: the posix services and the Qt backend under the
// program's own start-up.
#include <QApplication>
#include <clocale>

#include "app/AppIdentity.h"
#include "app/Main.h"
#include "platform/posix/ConfigHome.h"
#include "platform/posix/CurlDownloader.h"
#include "platform/posix/IniSettingsStore.h"
#include "platform/posix/PosixClock.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixProcesses.h"
#include "platform/posix/XdgAutostart.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtSingleInstance.h"
#include "platform/qt/QtUi.h"

int main(int argc, char** argv) {
    using namespace tarnwk;
    QApplication application(argc, argv);
    // Dates, times and numbers in the user's formats, for the C++ side too.
    std::setlocale(LC_ALL, "");
    const QString title =
        QString::fromUtf8(kAppTitle.data(), static_cast<qsizetype>(kAppTitle.size()));
    // The name only: a display name would be appended to every window title.
    QApplication::setApplicationName(title);

    posix::PosixFileSystem files;
    posix::IniSettingsStore settings(posix::configHome());
    posix::XdgAutostart startup(posix::configHome(), std::string(kAppTitle),
                                files.executablePath());
    posix::PosixClock clock;
    posix::PosixProcesses processes;
    qt::QtUi qtUi;
    qt::QtShell shell;
    qt::QtSingleInstance instance;
    platform::Platform os{files, settings, startup, qtUi, clock, processes, shell};

    ui::Ui ui(qtUi);
    Program program(os, ui, files.applicationFolder(), serverBaseAddress());
    posix::CurlDownloader downloader;
    program.downloader = &downloader;
    return Main(program, instance);
}
