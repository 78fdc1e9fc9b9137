// The desktop program: the posix services and the Qt backend under the
// program's own start-up.
#include "platform/qt/DesktopProgram.h"

#include <QApplication>
#include <QTimer>
#include <clocale>

#include "app/AppIdentity.h"
#include "app/Main.h"
#include "platform/qt/DesktopServices.h"
#include "platform/qt/QtSingleInstance.h"

namespace tarnwk::qt {

int runDesktopProgram(int argc, char** argv, const std::function<void()>& whenRunning) {
    QApplication application(argc, argv);
    // Dates, times and numbers in the user's formats, for the C++ side too.
    std::setlocale(LC_ALL, "");
    const QString title =
        QString::fromUtf8(kAppTitle.data(), static_cast<qsizetype>(kAppTitle.size()));
    // The name only: a display name would be appended to every window title.
    QApplication::setApplicationName(title);

    DesktopServices services;
    QtSingleInstance instance;
    ui::Ui ui(services.qtUi);
    Program program(services.os, ui, services.files.applicationFolder(), serverBaseAddress());
    program.downloader = &services.downloader;
    // Runs once the event loop serves events.
    if (whenRunning) QTimer::singleShot(0, whenRunning);
    return Main(program, instance);
}

}  // namespace tarnwk::qt
