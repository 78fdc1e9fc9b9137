#pragma once

#include <functional>
#include <memory>
#include <string_view>

class QApplication;

namespace tarnwk::qt {

// The toolkit's side of one desktop session: the application object, the
// user's locale for dates, times and numbers, the application's name and its
// desktop entry (without ".desktop"), by which the desktop finds the
// program's launcher and icon for its windows. Lives as long as the program.
class QtSession {
public:
    QtSession(int& argc, char** argv, std::string_view applicationName,
              std::string_view desktopEntryName);
    ~QtSession();
    QtSession(const QtSession&) = delete;
    QtSession& operator=(const QtSession&) = delete;

    // Runs `action` once the event loop serves events.
    void whenRunning(std::function<void()> action);

private:
    std::unique_ptr<QApplication> application_;
};

}  // namespace tarnwk::qt
