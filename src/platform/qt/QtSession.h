#pragma once

#include <functional>
#include <memory>
#include <string_view>

class QApplication;

namespace tarnwk::qt {

// The toolkit's side of one desktop session: the application object, the
// user's locale for dates, times and numbers, and the application's name.
// Lives as long as the program.
class QtSession {
public:
    QtSession(int& argc, char** argv, std::string_view applicationName);
    ~QtSession();
    QtSession(const QtSession&) = delete;
    QtSession& operator=(const QtSession&) = delete;

    // Runs `action` once the event loop serves events.
    void whenRunning(std::function<void()> action);

private:
    std::unique_ptr<QApplication> application_;
};

}  // namespace tarnwk::qt
