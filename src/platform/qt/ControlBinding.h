#pragma once

#include <QTimer>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/ui.h"
#include "platform/ui/PendingChanges.h"

namespace tarnwk::qt {

class QtFormPeer;

// One control and its widget (or timer). The control reports each change
// here; the binding only notes it, and the form's peer applies the noted
// changes at the next event-loop turn, so a walk that rewrites a label for
// every file costs a bit-or per change, not a repaint.
class ControlBinding final : public ui::ControlPeer {
public:
    ControlBinding(QtFormPeer& peer, ui::Control& control) : peer_(peer), control_(control) {}

    ui::Control& control() const { return control_; }
    QWidget* widget() const { return widget_; }
    QTimer* timer() const { return timer_; }
    void setWidget(QWidget* widget) { widget_ = widget; }
    void setTimer(QTimer* timer) { timer_ = timer; }

    void update(ui::Control& control, ui::Change change) override;
    // Notes changes to apply at the next flush.
    void note(unsigned changes);
    // Applies the noted changes to the widget; signals of the widget are
    // blocked meanwhile, so nothing echoes back into the model.
    void flush();
    // Applies everything, as when the widget is new.
    void applyAll();

    static constexpr unsigned bit(ui::Change change) { return ui::changeBit(change); }

private:
    void apply(unsigned changes);
    void applyLooks();
    void applyCaption();
    void applyValue();
    void applyItems();
    void applySelection();
    void applyTab();
    void applyTimer();

    QtFormPeer& peer_;
    ui::Control& control_;
    QWidget* widget_ = nullptr;
    QTimer* timer_ = nullptr;
    ui::PendingChanges changes_;

    // The looks last applied, to apply them again only when they change.
    struct Looks {
        ui::Font font;
        std::string toolTip;
        bool link = false;
        bool whiteBackground = false;
        std::string picture;
        bool applied = false;
    } looks_;
    // The rows a list shows, to append new rows rather than rebuild.
    std::vector<std::string> rows_;
};

}  // namespace tarnwk::qt
