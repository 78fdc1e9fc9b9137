#include "support/FakeUi.h"

namespace tarnwk::test {
namespace {

// The first scripted answer, or `otherwise` when none is left.
template <class T>
T nextAnswer(std::deque<T>& answers, T otherwise) {
    if (answers.empty()) return otherwise;
    const T answer = answers.front();
    answers.pop_front();
    return answer;
}

// Puts the timers of one window on the clock while the window exists.
class FakeFormPeer final : public ui::FormPeer {
public:
    FakeFormPeer(std::map<ui::Timer*, int>& clock, ui::Form& form) : clock_(clock) {
        for (ui::Control* control : form.controls())
            if (control->kind() == ui::ControlKind::Timer)
                timers_.push_back(static_cast<ui::Timer*>(control)), clock_[timers_.back()] = 0;
    }
    // The form's controls may be gone already: only the pointers are used.
    ~FakeFormPeer() override {
        for (ui::Timer* timer : timers_) clock_.erase(timer);
    }
    void show() override {}
    void hide() override {}
    void captionChanged() override {}

private:
    std::map<ui::Timer*, int>& clock_;
    std::vector<ui::Timer*> timers_;
};

}  // namespace

std::unique_ptr<ui::FormPeer> FakeUi::createPeer(ui::Form& form) {
    ++peersCreated[form.name()];
    return std::make_unique<FakeFormPeer>(timers_, form);
}

void FakeUi::doEvents() {
    ++doEventsCount;
    if (onEveryDoEvents) onEveryDoEvents();
}

platform::MessageResult FakeUi::messageBox(std::string_view text, platform::MessageButtons buttons,
                                           platform::MessageIcon icon) {
    shown.push_back({std::string(text), buttons, icon});
    return nextAnswer(answers, buttons == platform::MessageButtons::YesNo
                                   ? platform::MessageResult::Yes
                                   : platform::MessageResult::Ok);
}

int FakeUi::popupMenu(const std::vector<std::string>& items) {
    menus.push_back(items);
    return nextAnswer(menuAnswers, -1);
}

bool FakeUi::addTrayIcon(std::string_view tip, std::function<void(ui::TrayMessage)> onMessage) {
    trayTip = tip;
    trayHandler = std::move(onMessage);
    return trayAvailable;
}

void FakeUi::advance(int milliseconds) {
    for (; milliseconds > 0; --milliseconds) {
        // A disabled timer starts counting afresh when enabled again.
        std::vector<ui::Timer*> due;
        for (auto& [timer, waited] : timers_)
            if (!timer->enabled())
                waited = 0;
            else if (++waited == timer->interval())
                waited = 0, due.push_back(timer);
        for (ui::Timer* timer : due) timer->tick();
    }
}

}  // namespace tarnwk::test
