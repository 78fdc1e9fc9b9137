#pragma once

#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace tarnwk::test {

struct ProgramEnded : std::runtime_error {
    explicit ProgramEnded(int code) : std::runtime_error("program ended"), exitCode(code) {}
    int exitCode;
};

struct ShownMessage {
    std::string text;
    platform::MessageButtons buttons;
    platform::MessageIcon icon;
};

// An in-memory toolkit. The forms' controls keep their own state, so a test
// reads captions, visibility and list items straight from them; this backend
// adds what a user does: actions at "do events", scripted answers to
// message boxes (then the first button) and menus, and timers on a virtual
// clock. endProgram throws ProgramEnded.
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

    // Runs at every do-events call (doEventsCount tells which).
    std::function<void()> onEveryDoEvents;
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
    // Each live window's timers, with the milliseconds each has waited.
    std::map<ui::Timer*, int> timers_;
};

}  // namespace tarnwk::test
