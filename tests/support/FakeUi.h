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

// The first scripted answer, or `otherwise` when none is left.
template <class T>
T nextAnswer(std::deque<T>& answers, T otherwise) {
    if (!answers.empty()) otherwise = answers.front(), answers.pop_front();
    return otherwise;
}

// A window's stand-in: puts the form's timers on the clock while it exists.
struct FakeFormPeer final : ui::FormPeer {
    FakeFormPeer(std::map<ui::Timer*, int>& clock, ui::Form& form) : clock(clock) {
        for (ui::Control* control : form.controls())
            if (control->kind() == ui::ControlKind::Timer)
                clock[timers.emplace_back(static_cast<ui::Timer*>(control))] = 0;
    }
    // The form's controls may be gone already: only the pointers are used.
    ~FakeFormPeer() override {
        for (ui::Timer* timer : timers) clock.erase(timer);
    }
    void show() override {}
    void hide() override {}
    void captionChanged() override {}
    std::map<ui::Timer*, int>& clock;
    std::vector<ui::Timer*> timers;
};

// An in-memory toolkit. The forms' controls keep their own state, so a test
// reads captions, visibility and list items straight from them; this backend
// adds what a user does: actions at "do events", scripted answers to
// message boxes (then the first button) and menus, and timers on a virtual
// clock. endProgram throws ProgramEnded.
class FakeUi final : public ui::UiBackend {
public:
    std::unique_ptr<ui::FormPeer> createPeer(ui::Form& form) override {
        ++peersCreated[form.name()];
        return std::make_unique<FakeFormPeer>(timers_, form);
    }
    void doEvents() override {
        ++doEventsCount;
        if (onEveryDoEvents) onEveryDoEvents();
    }
    void setBusy(bool busy) override { this->busy = busy; }
    platform::MessageResult messageBox(std::string_view text, platform::MessageButtons buttons,
                                       platform::MessageIcon icon) override {
        shown.push_back({std::string(text), buttons, icon});
        return nextAnswer(answers, buttons == platform::MessageButtons::YesNo
                                       ? platform::MessageResult::Yes
                                       : platform::MessageResult::Ok);
    }
    [[noreturn]] void endProgram(int exitCode) override { throw ProgramEnded(exitCode); }
    int popupMenu(const std::vector<std::string>&) override { return nextAnswer(menuAnswers, -1); }
    bool addTrayIcon(std::string_view, std::function<void(ui::TrayMessage)> onMessage) override {
        trayHandler = std::move(onMessage);
        return true;
    }
    int run() override { return 0; }

    // Runs at every do-events call (doEventsCount tells which).
    std::function<void()> onEveryDoEvents;
    // Moves the virtual clock on; a disabled timer starts counting afresh
    // when enabled again.
    void advance(int milliseconds) {
        for (; milliseconds > 0; --milliseconds) {
            std::vector<ui::Timer*> due;
            for (auto& [timer, waited] : timers_)
                if (!timer->enabled())
                    waited = 0;
                else if (++waited == timer->interval())
                    waited = 0, due.push_back(timer);
            for (ui::Timer* timer : due) timer->tick();
        }
    }
    // Sends a tray message as the desktop would.
    void trayMessage(ui::TrayMessage message) { trayHandler(message); }

    int doEventsCount = 0;
    bool busy = false;
    std::vector<ShownMessage> shown;
    std::deque<platform::MessageResult> answers;
    std::deque<int> menuAnswers;
    std::function<void(ui::TrayMessage)> trayHandler;
    // How many windows each form has had built.
    std::map<std::string, int> peersCreated;

private:
    // Each live window's timers, with the milliseconds each has waited.
    std::map<ui::Timer*, int> timers_;
};

}  // namespace tarnwk::test
