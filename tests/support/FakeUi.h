#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/ui.h"
#include "support/FakePlatform.h"

namespace tarnwk::test {

// An in-memory toolkit. The forms' controls keep their own state, so a test
// reads captions, visibility and list items straight from them; this backend
// adds what a user does: scripted clicks at "do events", scripted answers to
// message boxes and menus, and timers on a virtual clock.
class FakeUi final : public ui::UiBackend {
public:
    std::unique_ptr<ui::FormPeer> createPeer(ui::Form& form) override;
    void doEvents() override;
    void setBusy(bool busy) override { this->busy = busy; }
    platform::MessageResult messageBox(std::string_view text, platform::MessageButtons buttons,
                                       platform::MessageIcon icon) override;
    [[noreturn]] void endProgram(int exitCode) override { throw ProgramEnded(exitCode); }
    int popupMenu(const std::vector<std::string>& items) override;
    bool addTrayIcon(std::string_view tip, std::function<void(ui::TrayMessage)> onMessage) override;
    int run() override { return 0; }

    // Runs `action` at the do-events call number `count` (counted from 1).
    void atDoEvents(int count, std::function<void()> action) {
        scripted_[count].push_back(std::move(action));
    }
    // Moves the virtual clock on, firing due timers in order.
    void advance(int milliseconds);
    // Sends a tray message as the desktop would.
    void trayMessage(ui::TrayMessage message) { trayHandler(message); }

    int doEventsCount = 0;
    bool busy = false;
    std::vector<ShownMessage> shown;
    std::deque<platform::MessageResult> answers;
    std::vector<std::vector<std::string>> menus;
    std::deque<int> menuAnswers;
    bool trayAvailable = true;
    std::string trayTip;
    std::function<void(ui::TrayMessage)> trayHandler;
    // How many windows each form has had built.
    std::map<std::string, int> peersCreated;

private:
    friend class FakeFormPeer;
    std::map<ui::Timer*, long long> timers_;
    std::map<int, std::vector<std::function<void()>>> scripted_;
    long long now_ = 0;
};

}  // namespace tarnwk::test
