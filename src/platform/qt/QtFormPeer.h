#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/qt/ControlBinding.h"
#include "platform/qt/FormWindow.h"
#include "platform/ui.h"

namespace tarnwk::qt {

class QtUi;

// The window of one form and a widget for each of its controls, built from
// the declarations alone. Model changes are noted and applied together at
// the next event-loop turn; user actions go to the controls, after which the
// widgets show whatever state the handlers left.
class QtFormPeer final : public ui::FormPeer {
public:
    QtFormPeer(QtUi& ui, ui::Form& form);
    ~QtFormPeer() override;

    void show() override;
    void hide() override;
    void captionChanged() override;

    ui::Form& form() const { return form_; }
    FormWindow* window() const { return window_; }
    // Owner of the timers and the context of every widget-to-model
    // connection: deleting it first cuts them all.
    QObject* guard() const { return guard_.get(); }
    ControlBinding& binding(const ui::Control& control) const;
    // The widget (or, for a timer, the QTimer) of a control.
    QObject* objectOf(const ui::Control& control) const;

    // Runs what the user did; unless that unloaded the form, runs
    // `afterward` and brings every widget of the form up to date.
    void userAction(const std::function<void()>& action,
                    const std::function<void()>& afterward = {});

    // A binding has changes to apply.
    void noteDirty(ControlBinding& binding);
    // Applies all noted changes now.
    void flush();

    // From the window.
    void closeRequested();
    void windowActivated();

private:
    friend class QtUi;
    ControlBinding& build(ui::Control& control);
    void applyIcon();
    void centre();

    QtUi& ui_;
    ui::Form& form_;
    std::unique_ptr<QObject> guard_;
    FormWindow* window_;
    std::vector<std::unique_ptr<ControlBinding>> bindings_;
    std::unordered_map<const ui::Control*, ControlBinding*> byControl_;
    std::vector<ControlBinding*> dirty_;
    // Listed with the backend for its next flush.
    bool scheduled_ = false;
    bool shownBefore_ = false;
    std::string iconName_;
};

}  // namespace tarnwk::qt
