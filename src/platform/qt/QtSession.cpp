#include "platform/qt/QtSession.h"

#include <QApplication>
#include <QTimer>
#include <clocale>

namespace tarnwk::qt {

namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtSession::QtSession(int& argc, char** argv, std::string_view applicationName,
                     std::string_view desktopEntryName)
    : application_(std::make_unique<QApplication>(argc, argv)) {
    // Dates, times and numbers in the user's formats, for the C++ side too.
    std::setlocale(LC_ALL, "");
    // The name only: a display name would be appended to every window title.
    QApplication::setApplicationName(fromView(applicationName));
    QApplication::setDesktopFileName(fromView(desktopEntryName));
}

QtSession::~QtSession() = default;

void QtSession::whenRunning(std::function<void()> action) {
    if (action) QTimer::singleShot(0, std::move(action));
}

}  // namespace tarnwk::qt
