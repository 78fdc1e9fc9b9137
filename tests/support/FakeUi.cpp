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

}  // namespace

// Watches the timers of one window; everything else lives in the controls.
class FakeFormPeer final : public ui::FormPeer, public ui::ControlPeer {
public:
    FakeFormPeer(FakeUi& ui, ui::Form& form) : ui_(ui) {
        for (ui::Control* control : form.controls()) {
            if (control->kind() != ui::ControlKind::Timer) continue;
            control->attach(this);
            timers_.push_back(static_cast<ui::Timer*>(control));
            update(*control, ui::Change::Enabled);
        }
    }
    // The form's controls may be gone already: only the pointers are used.
    ~FakeFormPeer() override {
        for (ui::Timer* timer : timers_) ui_.timers_.erase(timer);
    }
    void show() override {}
    void hide() override {}
    void captionChanged() override {}
    void update(ui::Control& control, ui::Change change) override {
        auto* timer = static_cast<ui::Timer*>(&control);
        if (change != ui::Change::Enabled) return;
        if (timer->enabled())
            ui_.timers_[timer] = ui_.now_;
        else
            ui_.timers_.erase(timer);
    }

private:
    FakeUi& ui_;
    std::vector<ui::Timer*> timers_;
};

std::unique_ptr<ui::FormPeer> FakeUi::createPeer(ui::Form& form) {
    ++peersCreated[form.name()];
    return std::make_unique<FakeFormPeer>(*this, form);
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
    const long long until = now_ + milliseconds;
    for (;;) {
        // The next timer due, in order of due time.
        ui::Timer* next = nullptr;
        long long due = until + 1;
        for (const auto& [timer, startedAt] : timers_) {
            const long long at = startedAt + timer->interval();
            if (timer->interval() > 0 && at < due) due = at, next = timer;
        }
        if (!next) break;
        now_ = due;
        timers_[next] = due;
        next->tick();
    }
    now_ = until;
}

}  // namespace tarnwk::test
