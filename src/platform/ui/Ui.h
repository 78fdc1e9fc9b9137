#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform/ui/Form.h"

namespace tarnwk::ui {

// Mouse messages of the tray icon.
enum class TrayMessage { LeftButtonDown = 0x201, LeftDoubleClick = 0x203, RightButtonUp = 0x205 };

// A user-interface toolkit: builds the widgets of a form from its declared
// controls, serves the event loop, and offers the program-wide pieces (message
// box, busy pointer, popup menu, tray icon). Message boxes come from
// platform::Messages; their caption is the application title.
class UiBackend : public platform::Messages {
public:
    // The widgets of `form`, one per declared control, attached to them.
    virtual std::unique_ptr<FormPeer> createPeer(Form& form) = 0;
    // Serves pending events so windows repaint and clicks reach their
    // handlers. Called very often during a walk: a backend may skip the work
    // when it served events only a moment ago.
    virtual void doEvents() = 0;
    // The busy mouse pointer, program-wide.
    virtual void setBusy(bool busy) = 0;
    // A modal popup menu at the mouse; the chosen item's index, or -1.
    virtual int popupMenu(const std::vector<std::string>& items) = 0;
    // Puts the icon in the notification area; false when the desktop has none.
    [[nodiscard]] virtual bool addTrayIcon(std::string_view tip,
                                           std::function<void(TrayMessage)> onMessage) = 0;
    // Runs the event loop until endProgram.
    virtual int run() = 0;
};

// The program's handle on the toolkit: the backend plus the window that is
// active, so activation runs once per change of window.
class Ui {
public:
    explicit Ui(UiBackend& backend) : backend_(backend) {}
    UiBackend& backend() const { return backend_; }

    void doEvents() { backend_.doEvents(); }
    void setBusy(bool busy) { backend_.setBusy(busy); }
    platform::MessageResult messageBox(std::string_view text, platform::MessageButtons buttons,
                                       platform::MessageIcon icon = platform::MessageIcon::None) {
        return backend_.messageBox(text, buttons, icon);
    }

    Form* activeForm() const { return active_; }
    void setActiveForm(Form* form) { active_ = form; }

private:
    UiBackend& backend_;
    Form* active_ = nullptr;
};

}  // namespace tarnwk::ui
